#include "exchange/ClipboardWatcher.h"

#include "core/MainWindow.h"
#include "core/PageFolder.h"
#include "core/Settings.h"
#include "core/basMain.h"
#include "exchange/RecipeMarkers.h"
#include "exchange/cImport.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/LineFile.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>

namespace basMain {
namespace {

// Writes the clipboard text as the reader's input file, with CR LF line ends. UTF-8, so that nothing
// copied is lost on the way (the readers take a line as UTF-8 when it is valid UTF-8).
void writeHandOverFile(const QString& clipText, const QString& path)
{
    QString body = clipText;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QChar('\r'), QChar('\n'));
    body.replace(QChar('\n'), QLatin1String("\r\n"));
    text::writeAllBytes(path, body.toUtf8() + "\r\n");
}

void playSoundWhenOn(const char* switchKey, const char* soundKey)
{
    if (ReadINI("Options", switchKey) == QLatin1String("True"))
        ui::playSound(ReadINI("Options", soundKey));
}

} // namespace

void CheckClipoard()
{
    if (ui::isBusy() || QApplication::activeModalWidget())
        return;
    try {
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard->mimeData();
        if (!data || !data->hasText())
            return;
        const QString clipText = clipboard->text();
        const QString format = ClipboardTextFormat(clipText);
        if (format.isEmpty())
            return;

        ui::BusyScope busy;
        ui::WaitCursor wait;
        const QString handOver = pagefolder::path() + "/clip.tmp";
        writeHandOverFile(clipText, handOver);

        bool imported = false;
        {
            cImport reader;
            imported = ImportWithReader(reader, format, handOver);
        }
        QFile::remove(handOver); // read: the hand-over file has done its job
        if (imported)
            playSoundWhenOn("Play Recognised Sound", "Recognised Sound");
        else
            playSoundWhenOn("Play Not Recognised", "Not Recognised Sound");

        // Emptied whatever the reader said, so that the next tick does not capture the same text again.
        clipboard->clear();
        mainWindow().RefreshViews();
    } catch (...) {
        LogCurrentException("CheckClipoard");
    }
}

} // namespace basMain
