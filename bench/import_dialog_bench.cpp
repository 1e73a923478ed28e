// Import dialog benchmark: a 20,000-recipe Meal-Master file read by the reader alone and through the
// import dialog (offscreen); how often the dialog's counters change during the run and the longest wait
// between two changes; how soon a run stops after Cancel is clicked; and a capture of one recipe from the
// clipboard into a cookbook of 20,000 recipes, the main window's tree refreshed.
// Prints one line per figure: "name value unit".
#include "browser/frmMain.h"
#include "core/DE.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/ClipboardWatcher.h"
#include "exchange/cImport.h"
#include "exchange/frmImport.h"
#include "platform/paths/ProgramFolder.h"
#include "tests/support/Headless.h"
#include "tests/support/ProgramLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRecipes = 20000;

void print(const char* name, double value, const char* unit)
{
    std::printf("%s %.6g %s\n", name, value, unit);
    std::fflush(stdout);
}

QString recipe(const QString& title)
{
    return "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n\r\n"
           "      Title: " + title + "\r\n"
           " Categories: Desserts, Pies\r\n"
           "      Yield: 6 servings\r\n\r\n"
           "      2 c  flour\r\n      1 c  butter\r\n    1/2 c  sugar\r\n      3    apples, sliced\r\n\r\n"
           "  Rub the butter into the flour, stir in the sugar and press into a tin.\r\n"
           "  Lay the apples on top and bake for 40 minutes.\r\n\r\nMMMMM\r\n\r\n";
}

void writeRecipeFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    for (int i = 0; i < kRecipes; ++i)
        f.write(recipe(QString("Apple Pie Number %1").arg(i)).toLatin1());
}

void openNewCookbook(const QString& name)
{
    basDatabase::CreateCookbook(name + ".tqc");
    if (!basDatabase::OpenCookbook(name + ".tqc"))
        qFatal("could not open cookbook %s", qPrintable(name));
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    Headless headless;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QTemporaryDir dir;
    layOutProgramFolder(dir.path());
    paths::setProgramFolder(dir.path());
    DE.cn.open(dir.path() + "/data/tovalquendry.mdb");
    const QString file = dir.filePath("bench.mmf");
    writeRecipeFile(file);
    QElapsedTimer clock;

    // The reader alone and through the dialog, five times each in turn (the median counts), the dialog
    // sampling its counter each time the readers let the event loop run.
    frmImport dlg;
    dlg.show();
    dlg.txtFile->setText(file);
    const cImport::YieldHook eventLoop = cImport::setYieldHook({});
    QList<double> readerRates, dialogRates, updateRates, gaps;
    for (int run = 0; run < 5; ++run) {
        cImport::setYieldHook(eventLoop);
        openNewCookbook(QString("Reader%1").arg(run));
        {
            cImport reader;
            clock.start();
            reader.ImportMealMaster(file);
        }
        readerRates << kRecipes * 1000.0 / std::max<qint64>(clock.elapsed(), 1);

        openNewCookbook(QString("Dialog%1").arg(run));
        QString lastText = dlg.lblFound->text();
        QList<qint64> changes;
        cImport::setYieldHook([&] {
            if (dlg.lblFound->text() != lastText) {
                lastText = dlg.lblFound->text();
                changes << clock.elapsed();
            }
            eventLoop();
        });
        clock.start();
        dlg.cmdImport_Click();
        const qint64 total = std::max<qint64>(clock.elapsed(), 1);
        changes << total;
        qint64 longestGap = changes.first();
        for (int i = 1; i < changes.size(); ++i)
            longestGap = std::max(longestGap, changes[i] - changes[i - 1]);
        dialogRates << kRecipes * 1000.0 / total;
        updateRates << (changes.size() - 1) * 1000.0 / total;
        gaps << longestGap;
        if (dlg.lblImported->text() != QString::number(kRecipes))
            qFatal("the dialog imported %s recipes", qPrintable(dlg.lblImported->text()));
    }
    print("reader_rate", median(readerRates), "recipes/s");
    print("dialog_rate", median(dialogRates), "recipes/s");
    print("dialog_vs_reader", median(dialogRates) / median(readerRates), "ratio");
    print("counter_updates", median(updateRates), "per_s");
    print("counter_longest_gap", median(gaps), "ms");

    // Cancel a tenth of a second into a run.
    cImport::setYieldHook(eventLoop);
    openNewCookbook("Cancel");
    qint64 clicked = -1;
    QTimer::singleShot(100, &dlg, [&] {
        clicked = clock.elapsed();
        dlg.cmdCancel->click();
    });
    clock.start();
    dlg.cmdImport_Click();
    const qint64 stopped = clock.elapsed();
    print("cancel_latency_from_due", stopped - 100, "ms");
    print("cancel_latency_from_click", clicked < 0 ? -1 : stopped - clicked, "ms");
    print("cancel_imported", dlg.lblImported->text().toDouble(), "recipes");
    dlg.hide();

    // A capture from the clipboard into the 20,000-recipe cookbook, with the main window refreshed.
    {
        frmMain window;
        window.resize(1000, 700);
        window.show();
        basDatabase::OpenCookbook("Dialog0.tqc");
        window.EnableToolBarButtons();
        window.RefreshViews();
        QList<qint64> times;
        for (int i = 0; i < 9; ++i) {
            QGuiApplication::clipboard()->setText(recipe(QString("Clipped Tart %1").arg(i)));
            clock.start();
            basMain::CheckClipoard();
            times << clock.nsecsElapsed() / 1000;
        }
        std::sort(times.begin(), times.end());
        print("clipboard_capture_20000", times[times.size() / 2] / 1000.0, "ms");
        basDatabase::CloseCookbook();
    }
    DE.cn.close();
    return 0;
}
