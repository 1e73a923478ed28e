// Compu-Chef speed and memory: export and import of 20,000 recipes against a bare prepared-INSERT loop of
// the same rows, and the peak memory of importing a file of about 100 MB.
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"
#include "platform/paths/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <sys/resource.h>

namespace {

constexpr int kRecipes = 20000;

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QVariantList rowValues(int i)
{
    return {QString("Benchmark Recipe %1").arg(i), "Not Known", "Main,Dish", "250", "4", "01:30",
            "1 lb beef\r\n2 cups water\r\n1 onion, chopped\r\n2 carrots\r\n",
            "Brown the beef.\r\nAdd the rest and simmer.\r\n\r\nServe hot.\r\n", 1};
}

const char* const kInsert = "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, CALORIESPERSERVING, YIELD, TOTALTIME, "
                            "INGREDIENTS, INSTRUCTIONS, MARK) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)";

// Fills the open cookbook with the benchmark rows through one prepared statement, in one transaction.
void insertRows()
{
    db::Transaction transaction(basDatabase::cnCookbook);
    db::Query insert(basDatabase::cnCookbook, kInsert);
    for (int i = 1; i <= kRecipes; ++i) {
        insert.reset();
        const QVariantList values = rowValues(i);
        for (int c = 0; c < values.size(); ++c)
            insert.bind(c + 1, values[c]);
        insert.exec();
    }
    transaction.commit();
}

// Creates and opens a new, empty cookbook (a number is added to the name to keep it new).
void openNewCookbook(const QString& name)
{
    static int made = 0;
    const QString file = name + QString::number(++made) + ".tqc";
    basDatabase::CreateCookbook(file);
    if (!basDatabase::OpenCookbook(file)) {
        std::fprintf(stderr, "cannot open cookbook %s\n", qPrintable(name));
        std::exit(1);
    }
}

// The best of three timed runs in milliseconds, each after its own untimed setup.
template <class Setup, class Run>
double bestOf(Setup setup, Run run)
{
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// A file of about 100 MB in the Compu-Chef layout.
void writeLargeFile(const QString& path)
{
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    const QByteArray body = "Categories: Soups Winter\r\n \r\n"
                            "Calories     per serving: 120\t          Number of Servings: 4\r\n"
                            "Fat grams    per serving: \t           Approx. Cook Time: 0:45\r\n \r\n"
                            "INGREDIENTS ------------------------------------------------------------\r\n \r\n"
                            "1 cup lentils\r\n2 cups water\r\n1 onion\r\n \r\n"
                            "DIRECTIONS  ------------------------------------------------------------\r\n \r\n"
                            "Simmer until soft.\r\n \r\n*** Recipe Via Compu-Chef (tm) ***\r\n \r\n";
    for (int i = 0; out.size() < 100 * 1000 * 1000; ++i)
        out.write("*****************\r\n****** Soup " + QByteArray::number(i) +
                  " ******\r\n*****************\r\n \r\n" + body);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    cImport::setYieldHook({});
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/data/cookbooks");
    paths::setProgramFolder(dir.path());

    // Memory first, while the process is still small.
    const QString large = dir.path() + "/large.txt";
    writeLargeFile(large);
    openNewCookbook("Large");
    const long before = peakKb();
    cImport importer;
    const bool largeOk = importer.ImportCompuChef(large);
    if (!largeOk)
        std::fprintf(stderr, "the large import failed after %d recipes\n", basMain::lRecipesImported);
    std::printf("compuchef_large_import_peak_rise %.1f MB\n", (peakKb() - before) / 1024.0);
    QFile::remove(large);

    openNewCookbook("Source");
    insertRows();
    const QString file = dir.path() + "/export.txt";
    cExport exporter;
    const double exportMs = bestOf([] {}, [&] { exporter.ExportCompuChef(file); });
    std::printf("compuchef_export %.0f recipes/s\n", kRecipes / (exportMs / 1000));

    const double bareMs = bestOf([] { openNewCookbook("Bare"); }, insertRows);
    std::printf("compuchef_bare_insert %.0f recipes/s\n", kRecipes / (bareMs / 1000));

    bool ok = true;
    const double importMs =
        bestOf([] { openNewCookbook("Target"); }, [&] { ok = importer.ImportCompuChef(file) && ok; });
    if (!ok || basMain::lRecipesImported != kRecipes)
        std::fprintf(stderr, "the import failed: %d recipes imported\n", basMain::lRecipesImported);
    std::printf("compuchef_import %.0f recipes/s\n", kRecipes / (importMs / 1000));
    std::printf("compuchef_import_vs_bare_insert %.2f ratio\n", importMs / bareMs);
    basDatabase::CloseCookbook();
    return 0;
}
