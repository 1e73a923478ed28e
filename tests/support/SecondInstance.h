#pragma once
// Another instance of the program is another process: the test program starts itself again with
// "--second-instance" and a command, and that process does one job with the program's own code and ends.
//   write-settings FILE SECTION PREFIX COUNT   stores PREFIX0=0 ... one write each, as the program does
//   set-setting FILE SECTION KEY VALUE         stores one value
//   sql DATABASE STATEMENTS                    runs the statements on its own connection to the file
#include <QProcess>
#include <QStringList>

// Runs the command when the arguments ask for one; -1 when they are no second-instance call.
int runSecondInstance(int argc, char** argv);

// Starts this test program as a second instance with the command; false when it does not start.
bool startSecondInstance(QProcess& process, const QStringList& command);

// Runs the command in a second instance to its end; true when it succeeded.
bool runInSecondInstance(const QStringList& command);
