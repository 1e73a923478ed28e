# Builds the reference database from its SQL script with SQLite itself (cmake -P). The file appears
# only once the whole script ran, so a failed build never leaves a half-filled database behind.
find_program(SQLITE3 sqlite3)
if(NOT SQLITE3)
  message(FATAL_ERROR "sqlite3 is needed to build the reference database")
endif()
file(REMOVE ${DB}.part)
execute_process(COMMAND ${SQLITE3} -bail ${DB}.part INPUT_FILE ${SQL} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  file(REMOVE ${DB}.part)
  message(FATAL_ERROR "sqlite3 failed on ${SQL}")
endif()
file(RENAME ${DB}.part ${DB})
