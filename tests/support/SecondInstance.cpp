#include "SecondInstance.h"

#include "platform/db/Database.h"
#include "platform/ini/ProfileFile.h"

#include <QCoreApplication>
#include <QString>

int runSecondInstance(int argc, char** argv)
{
    if (argc < 3 || QByteArray(argv[1]) != "--second-instance")
        return -1;
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    try {
        if (args[0] == "write-settings" && args.size() == 5) {
            for (int i = 0; i < args[4].toInt(); ++i)
                if (!ini::writeValue(args[1], args[2], args[3] + QString::number(i), QString::number(i)))
                    return 1;
            return 0;
        }
        if (args[0] == "sql" && args.size() == 3) {
            db::Connection cn;
            cn.open(args[1]);
            cn.exec(args[2]);
            return 0;
        }
        if (args[0] == "set-setting" && args.size() == 5)
            return ini::writeValue(args[1], args[2], args[3], args[4]) ? 0 : 1;
    } catch (...) {
        return 2;
    }
    return 3;
}

bool runInSecondInstance(const QStringList& command)
{
    QProcess process;
    return startSecondInstance(process, command) && process.waitForFinished(60000)
           && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool startSecondInstance(QProcess& process, const QStringList& command)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(), QStringList{"--second-instance"} + command);
    return process.waitForStarted(10000);
}
