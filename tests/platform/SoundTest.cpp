// Sounds through the real backend: a missing file, an empty name and a machine without an audio device
// are all silent, raise no warning and never wait.
#include "platform/ui/Ui.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QStringList warnings;
void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        warnings << message;
}

// A short, valid PCM wave file: 8 kHz, 8 bit, mono, 0.1 s of silence.
QByteArray silentWave()
{
    const quint32 samples = 800;
    QByteArray w;
    auto u32 = [&w](quint32 v) { v = qToLittleEndian(v); w.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&w](quint16 v) { v = qToLittleEndian(v); w.append(reinterpret_cast<const char*>(&v), 2); };
    w += "RIFF";
    u32(36 + samples);
    w += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(8000);
    u16(1);
    u16(8);
    w += "data";
    u32(samples);
    w += QByteArray(samples, char(0x80));
    return w;
}

TEST(Sound, PlaysNothingWhereThereIsNothingToPlay)
{
    QTemporaryDir dir;
    const QString wave = dir.filePath("ding.wav");
    writeBytes(wave, silentWave());

    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordWarning);
    ui::playSound("");
    ui::playSound(dir.filePath("missing.wav"));
    ui::playSound(wave); // plays where a device exists; returns at once either way
    ui::playSound(wave);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

} // namespace
