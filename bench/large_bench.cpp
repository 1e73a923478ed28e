// Large-collection benchmark: cookbooks of 100,000 and 250,000 realistic recipes driven through the real
// windows (the recipe list's fill, the pop-up mark commands, the export and import dialogs, clearing the
// marks at close). For each run it prints the time and the longest gap between two ticks of the event
// loop, i.e. how long the window could not repaint or take a click. Prints "name value unit" per line.
//
// To keep the whole bench within minutes, not every run is made at every size: the list, Check All, one
// delete and the close run at each; the mark commands beside the one statement that marks every recipe
// at the smallest; the exports, the compaction and the imports at the largest.
//
// Building a 250,000-recipe cookbook takes a while; with LARGE_BENCH_CACHE set to a folder the cookbooks
// are built once, kept there and copied from there on later runs.
#include "BenchCookbook.h"
#include "FreezeMeter.h"
#include "browser/PopupMenus.h"
#include "core/Settings.h"
#include "core/basMain.h"
#include "core/frmCookbook.h"
#include "editor/frmDelete.h"
#include "exchange/frmExport.h"
#include "exchange/frmImport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

namespace {

void print(const QString& name, double value, const char* unit)
{
    std::printf("%s %.6g %s\n", qPrintable(name), value, unit);
    std::fflush(stdout);
}

qint64 heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<qint64>(info.uordblks + info.hblkhd);
}

void report(const QString& name, int recipes, const bench::FreezeFigures& f)
{
    print(QString("%1_%2_seconds").arg(name).arg(recipes), f.seconds, "s");
    print(QString("%1_%2_longest_freeze_ms").arg(name).arg(recipes), f.longestFreezeMs, "ms");
}

// The smallest and the largest cookbook of the run (see above).
int smallestSize = 0;
int largestSize = 0;

QString cachedCookbook(int recipes)
{
    const QString folder = qEnvironmentVariable("LARGE_BENCH_CACHE");
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QString("Realistic%1.tqc").arg(recipes));
}

// The cookbook "Large.tqc" of the scratch program folder, with `recipes` realistic recipes, none marked.
void prepareCookbook(int recipes)
{
    const QString target = basDatabase::CookbookPath("Large.tqc");
    const QString cache = cachedCookbook(recipes);
    if (!cache.isEmpty() && QFileInfo::exists(cache)) {
        QFile::remove(target);
        if (!QFile::copy(cache, target))
            qFatal("cannot copy %s", qPrintable(cache));
        return;
    }
    QElapsedTimer clock;
    clock.start();
    basDatabase::CreateCookbook("Large.tqc");
    if (!basDatabase::OpenCookbook("Large.tqc"))
        qFatal("cannot open the new cookbook");
    bench::fillRealisticCookbook(recipes);
    basDatabase::CloseCookbook();
    print(QString("cookbook_build_%1_seconds").arg(recipes), clock.elapsed() / 1000.0, "s");
    if (!cache.isEmpty()) {
        QDir().mkpath(QFileInfo(cache).absolutePath());
        QFile::copy(target, cache);
    }
}

void openCookbook(const QString& name)
{
    if (!basDatabase::OpenCookbook(name))
        qFatal("cannot open %s", qPrintable(name));
}

void benchListAndMarks(frmMain& window, int recipes)
{
    QTreeWidget* tree = window.tvRecipes();
    RecipeList* list = window.lstVRecipes();
    tree->setCurrentItem(bench::childOf(tree, "Recipes", 0));

    const qint64 heapBefore = heapBytes();
    report("list_all", recipes, bench::measureFreeze([&] { window.tvRecipes_DblClick(); }));
    if (list->count() != recipes)
        qFatal("List All listed %d recipes", list->count());
    print(QString("list_all_%1_kb_per_row").arg(recipes), (heapBytes() - heapBefore) / 1024.0 / recipes, "KB");

    frmContextMenus menus(&window);
    report("check_all", recipes, bench::measureFreeze([&] { menus.mnuSortOption_Click(frmContextMenus::CheckAll); }));
    if (recipes != smallestSize)
        return; // every recipe is marked, as the exports want
    report("uncheck_all", recipes, bench::measureFreeze([&] { menus.mnuSortOption_Click(frmContextMenus::UncheckAll); }));
    report("inverse_selection", recipes,
           bench::measureFreeze([&] { menus.mnuSortOption_Click(frmContextMenus::InverseSelection); }));
    db::Query marked(basDatabase::cnCookbook, "SELECT COUNT(*) AS N FROM RECIPES WHERE MARK=1");
    if (!marked.next() || marked.value("N").toInt() != recipes)
        qFatal("Inverse Selection left %d recipes marked", marked.value("N").toInt());

    // What the database alone needs to mark every recipe (one statement), the floor of the commands above.
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=0");
    report("mark_statement", recipes, bench::measureFreeze([] { basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1"); }));
}

// ---------------------------------------------------------------- exports
// The process's resident memory now, and its peak since the last resetPeakMemory(), in KB.
qint64 statusKb(const char* key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    return -1;
}

void resetPeakMemory()
{
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5"); // the peak (VmHWM) starts again from what is resident now
}

// The floor of an export: the same rows read in the same way, and as many bytes written to a file beside
// it, in the same chunks, synced and renamed as an export is.
double bareExportSeconds(const QString& path, qint64 bytes)
{
    QElapsedTimer clock;
    clock.start();
    const QByteArray temporary = QFile::encodeName(path + ".bare");
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        qFatal("cannot create %s", temporary.constData());
    QByteArray buffer;
    qint64 written = 0;
    auto flush = [&] {
        const qint64 n = std::min<qint64>(buffer.size(), bytes - written);
        if (n > 0 && ::write(fd, buffer.constData(), size_t(n)) != n)
            qFatal("bare write failed");
        written += n;
        buffer.clear();
    };
    db::Query rows(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE MARK=1");
    const int columns = rows.columnCount();
    while (rows.next()) {
        for (int i = 0; i < columns; ++i) {
            const QVariant value = rows.value(i);
            buffer += value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
        }
        if (buffer.size() >= (1 << 16))
            flush();
    }
    flush();
    const QByteArray pad(1 << 16, 'x');
    while (written < bytes) {
        buffer = pad;
        flush();
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temporary.constData(), QFile::encodeName(path + ".bare2").constData()) != 0)
        qFatal("bare sync failed");
    const double seconds = clock.nsecsElapsed() / 1e9;
    QFile::remove(path + ".bare2");
    return seconds;
}

// Each format written through the export dialog: its time and longest freeze, the bare loop's time
// beside it, and the peak memory above what the program held before.
void benchExports(int recipes, const QString& folder)
{
    frmExport dlg;
    dlg.show();
    const struct {
        const char* format;
        const char* name;
        const char* file;
    } runs[] = {{"Tovalquendry", "xml", "export.xml"},
                {"MealMaster", "mealmaster", "export.mmf"},
                {"Compu-Chef", "compuchef", "export.txt"},
                {"MasterCook", "mastercook", "export.mxp"}};
    for (const auto& run : runs) {
        const QString path = QDir(folder).filePath(run.file);
        const QString name = QString(run.name) + "_export";
        QFile::remove(path);
        dlg.txtFile->setText(path);
        dlg.cmbFormat->setCurrentText(run.format);
        malloc_trim(0);
        resetPeakMemory();
        const qint64 before = statusKb("VmRSS:");
        report(name, recipes, bench::measureFreeze([&] { dlg.cmdExport_Click(); }));
        const qint64 peak = statusKb("VmHWM:");
        if (dlg.lblExported->text() != QString::number(recipes))
            qFatal("%s exported %s recipes", run.format, qPrintable(dlg.lblExported->text()));
        const qint64 size = QFileInfo(path).size();
        print(QString("%1_%2_bare_seconds").arg(name).arg(recipes), bareExportSeconds(path, size), "s");
        print(QString("%1_%2_peak_mb").arg(name).arg(recipes), (peak - before) / 1024.0, "MB");
        print(QString("%1_%2_file_mb").arg(name).arg(recipes), size / 1048576.0, "MB");
        if (QLatin1String(run.format) != QLatin1String("Tovalquendry"))
            QFile::remove(path);
    }
}

// Deleting the recipe in the middle of the list through the delete dialog, the list refreshed after it.
void benchDeleteOne(frmMain& window, int recipes)
{
    RecipeList* list = window.lstVRecipes();
    list->selectRow(list->count() / 2);
    frmDelete dlg(&window);
    dlg.Form_Load();
    dlg.optDelete[1]->setChecked(true);
    dlg.show();
    report("delete_one", recipes, bench::measureFreeze([&] { dlg.cmdDelete_Click(); }));
    db::Query left(basDatabase::cnCookbook, "SELECT COUNT(*) AS N FROM RECIPES");
    if (!left.next() || left.value("N").toInt() != recipes - 1)
        qFatal("the delete left %d recipes", left.value("N").toInt());
}

// Closing the main window with "Clear Checked" and every recipe marked: how soon the window is gone, how
// long until the marks are cleared and the close has ended, and the longest freeze meanwhile. The close
// shuts the program down (the main database too), which is opened again for what follows.
void benchCloseClearing(frmMain& window, int recipes)
{
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1");
    WriteINI("Options", "Clear Checked", "True");
    QElapsedTimer clock;
    qint64 goneMs = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (goneMs < 0 && !window.isVisible())
            goneMs = clock.elapsed();
    });
    watch.start(1);
    clock.start();
    report("close_clear_checked", recipes, bench::measureFreeze([&] { window.close(); }));
    print(QString("close_clear_checked_%1_window_gone_ms").arg(recipes), double(goneMs), "ms");
    WriteINI("Options", "Clear Checked", "False");
    db::Query marked(basDatabase::cnCookbook, "SELECT COUNT(*) AS N FROM RECIPES WHERE MARK<>0");
    if (!marked.next() || marked.value("N").toInt() != 0)
        qFatal("closing left %d recipes marked", marked.value("N").toInt());
    DE.cn.open(paths::resolve("\\data\\tovalquendry.mdb"));
}

// Seconds that a bare VACUUM INTO of the cookbook file takes (the copy is deleted again).
double bareVacuumSeconds(const QString& target)
{
    const QString bare = target + ".bare";
    QFile::remove(bare);
    QElapsedTimer clock;
    clock.start();
    {
        db::Connection cn;
        cn.open(target);
        db::Query(cn, "VACUUM INTO ?1", {bare}).exec();
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    QFile::remove(bare);
    return seconds;
}

// Compacting the cookbook through the Cookbook Manager, beside a bare VACUUM INTO of the same file. Each
// is run twice, in the order bare, compaction, compaction, bare, and their means are compared, so that
// neither side alone meets a cold or a busy disk.
void benchCompaction(int recipes)
{
    const QString target = basDatabase::CookbookPath("Large.tqc");
    double bare = bareVacuumSeconds(target);

    frmCookbook manager;
    manager.show();
    for (int i = 0; i < manager.lstvCookbooks->count(); ++i)
        if (manager.lstvCookbooks->item(i)->data(frmCookbook::FileRole).toString() == "Large.tqc")
            manager.lstvCookbooks->setCurrentItem(manager.lstvCookbooks->item(i));
    bench::FreezeFigures compaction{0, 0};
    for (int run = 0; run < 2; ++run) {
        const bench::FreezeFigures figures = bench::measureFreeze([&] { manager.cmdAction_Click(6); });
        compaction.seconds += figures.seconds / 2;
        compaction.longestFreezeMs = std::max(compaction.longestFreezeMs, figures.longestFreezeMs);
        if (frmCookbook::GetCookbookInfo(target).count != recipes - 1)
            qFatal("the compacted cookbook holds %lld recipes", frmCookbook::GetCookbookInfo(target).count);
    }
    report("compact", recipes, compaction);
    bare = (bare + bareVacuumSeconds(target)) / 2;
    print(QString("compact_%1_bare_seconds").arg(recipes), bare, "s");
}

// Cancel late in an XML import (once nine tenths of its rows are taken): how long from the click until
// the dialog is ready again, and the longest freeze from the click on.
void benchLateCancel(int recipes, const QString& file)
{
    frmImport dlg;
    dlg.show();
    dlg.txtFile->setText(file);
    basDatabase::CreateCookbook("LateCancel.tqc");
    openCookbook("LateCancel.tqc");
    QElapsedTimer clock;
    qint64 clicked = -1, last = 0, longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (clicked >= 0) {
            longest = std::max(longest, now - std::max(last, clicked));
        } else if (basMain::lRecipesImported >= recipes / 10 * 9) {
            clicked = now;
            dlg.cmdCancel->click();
        }
        last = now;
    });
    ticker.start(1);
    clock.start();
    dlg.cmdImport_Click();
    const qint64 end = clock.nsecsElapsed();
    if (clicked < 0)
        qFatal("the import ended before the late cancel");
    longest = std::max(longest, end - std::max(last, clicked));
    print(QString("xml_import_late_cancel_%1_seconds").arg(recipes), (end - clicked) / 1e9, "s");
    print(QString("xml_import_late_cancel_%1_longest_freeze_ms").arg(recipes), longest / 1e6, "ms");
    db::Query stored(basDatabase::cnCookbook, "SELECT COUNT(*) AS N FROM RECIPES");
    if (!stored.next() || stored.value("N").toInt() != 0)
        qFatal("the cancelled import kept %d recipes", stored.value("N").toInt());
    basDatabase::CloseCookbook();
    QFile::remove(basDatabase::CookbookPath("LateCancel.tqc"));
}

void benchXmlImport(int recipes, const QString& file)
{
    frmImport dlg;
    dlg.show();
    dlg.txtFile->setText(file);

    basDatabase::CreateCookbook("Imported.tqc");
    openCookbook("Imported.tqc");
    report("xml_import", recipes, bench::measureFreeze([&] { dlg.cmdImport_Click(); }));
    if (dlg.lblImported->text() != QString::number(recipes))
        qFatal("the XML import took %s recipes", qPrintable(dlg.lblImported->text()));
    basDatabase::CloseCookbook();
    QFile::remove(basDatabase::CookbookPath("Imported.tqc"));
    benchLateCancel(recipes, file);

    // Cancel two seconds into a run: how soon the dialog answers, and that nothing was stored.
    basDatabase::CreateCookbook("Cancelled.tqc");
    openCookbook("Cancelled.tqc");
    QElapsedTimer clock;
    qint64 clicked = -1;
    QTimer::singleShot(2000, &dlg, [&] {
        clicked = clock.elapsed();
        dlg.cmdCancel->click();
    });
    clock.start();
    dlg.cmdImport_Click();
    print(QString("xml_import_%1_cancel_ms").arg(recipes), clicked < 0 ? -1.0 : double(clock.elapsed() - clicked),
          "ms");
    db::Query stored(basDatabase::cnCookbook, "SELECT COUNT(*) AS N FROM RECIPES");
    stored.next();
    print(QString("xml_import_%1_cancel_stored").arg(recipes), stored.value("N").toDouble(), "recipes");
    basDatabase::CloseCookbook();
}

void benchSize(int recipes)
{
    QTemporaryDir dir;
    layOutProgramFolder(dir.path());
    paths::setProgramFolder(dir.path());
    basMain::sTemplatePath = dir.path() + "/templates/default.html";
    DE.cn.open(dir.path() + "/data/tovalquendry.mdb");
    bench::fillReferenceLists();
    bench::fillRealisticCategories();
    prepareCookbook(recipes);
    {
        frmMain window;
        window.resize(1000, 700);
        window.show();
        openCookbook("Large.tqc");
        window.EnableToolBarButtons();
        window.RefreshViews();
        const bool largest = recipes == largestSize;
        benchListAndMarks(window, recipes);
        if (largest)
            benchExports(recipes, dir.path());
        benchDeleteOne(window, recipes);
        benchCloseClearing(window, recipes);
        basDatabase::CloseCookbook();
        if (largest)
            benchCompaction(recipes);
        QFile::remove(basDatabase::CookbookPath("Large.tqc"));
        window.RefreshViews();
        if (largest)
            benchXmlImport(recipes, dir.filePath("export.xml"));
    }
    DE.cn.close();
}

} // namespace

int main(int argc, char** argv)
{
    Headless headless;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    bench::PrintingBoxes boxes;
    QElapsedTimer clock;
    clock.start();
    // Other sizes may be named on the command line (a quick look at a change).
    QList<int> sizes{100000, 250000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes << QString(argv[i]).toInt();
    }
    smallestSize = *std::min_element(sizes.begin(), sizes.end());
    largestSize = *std::max_element(sizes.begin(), sizes.end());
    for (int recipes : sizes)
        benchSize(recipes);
    print("large_bench_total_seconds", clock.elapsed() / 1000.0, "s");
    return 0;
}
