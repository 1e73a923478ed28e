#pragma once
// A second process beside the test (tests/peer/SecondInstance.cpp): another instance of the program, or
// another program writing into a cookbook. Lines go to its standard input; its answers are read one line
// at a time, each within a time limit, so that a test fails rather than hangs.
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

class SecondProcess {
public:
    explicit SecondProcess(const QStringList& arguments)
    {
        process_.setProgram(TQ_SECOND_INSTANCE);
        process_.setArguments(arguments);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        started_ = process_.waitForStarted(10000);
        EXPECT_TRUE(started_) << process_.errorString().toStdString();
    }
    ~SecondProcess() { finish(); }
    SecondProcess(const SecondProcess&) = delete;
    SecondProcess& operator=(const SecondProcess&) = delete;

    // The next line it writes, without its line end; "" when none comes within the limit.
    QString readLine(int limitMs = 20000)
    {
        const QDeadlineTimer deadline(limitMs);
        while (!process_.canReadLine()) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) {
                process_.waitForReadyRead(0);
                if (process_.canReadLine())
                    break;
                ADD_FAILURE() << "no answer from the second process";
                return {};
            }
            process_.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 100)));
        }
        return QString::fromUtf8(process_.readLine()).trimmed();
    }

    void send(const QString& line) { process_.write((line + '\n').toUtf8()); }

    // Ends it at once, as a crash or a kill would: nothing of its own end runs.
    void kill()
    {
        if (!started_)
            return;
        started_ = false;
        process_.kill();
        process_.waitForFinished(10000);
    }

    // Ends its input, waits for it to end, and returns every line it wrote that was not read yet.
    QStringList finish()
    {
        if (!started_)
            return {};
        started_ = false;
        process_.closeWriteChannel();
        if (!process_.waitForFinished(30000)) {
            ADD_FAILURE() << "the second process did not end";
            process_.kill();
            process_.waitForFinished(5000);
        }
        QStringList lines = QString::fromUtf8(process_.readAll()).split('\n', Qt::SkipEmptyParts);
        for (QString& line : lines)
            line = line.trimmed();
        return lines;
    }

private:
    QProcess process_;
    bool started_ = false;
};

// Starts the second process on a command that does one job and ends (write-settings, set-setting, sql);
// false when it does not start.
inline bool startSecondInstance(QProcess& process, const QStringList& command)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(TQ_SECOND_INSTANCE, command);
    return process.waitForStarted(10000);
}

// Runs such a command to its end; true when it did its job.
inline bool runInSecondInstance(const QStringList& command)
{
    QProcess process;
    return startSecondInstance(process, command) && process.waitForFinished(60000)
           && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
