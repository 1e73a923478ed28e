#pragma once
// Every file the program holds open for reading or writing text registers here, so that
// "close every file that the program has open" (the error reporter, the page builder) can be done.
#include <functional>

namespace text {

class RegisteredFile {
public:
    RegisteredFile();
    virtual ~RegisteredFile();
    RegisteredFile(const RegisteredFile&) = delete;
    RegisteredFile& operator=(const RegisteredFile&) = delete;
    virtual void close() = 0;
};

// Closes every registered file, each even when flushing it fails; later reads or writes on them fail
// with "Bad file name or number".
void closeAllFiles();

} // namespace text
