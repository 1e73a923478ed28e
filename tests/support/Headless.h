#pragma once
// Headless runs for the tests and the benchmarks: the offscreen Qt platform and a private runtime folder,
// each unless the environment already names one. Make it before the QApplication and keep it past it.
#include <QFile>
#include <QTemporaryDir>

class Headless {
public:
    Headless()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            QFile::setPermissions(runtime_.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        }
    }

private:
    QTemporaryDir runtime_;
};
