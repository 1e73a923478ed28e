#pragma once
// A small tmpfs mounted over a folder of the scratch program, so that a test can run out of disk space.
// Mounting needs root (CI containers usually have it); without it, `reason` says why and the test skips.
#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

class SmallDisk {
public:
    SmallDisk(const QString& folder, int kilobytes) : folder_(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        if (::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0)
            mounted_ = true;
        else
            reason = QString("cannot mount a small tmpfs here: ") + std::strerror(errno);
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString reason;

    // Fills what space is left with one file in the folder.
    void fill() const
    {
        QFile filler(QString::fromLocal8Bit(folder_) + "/filler");
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
};
