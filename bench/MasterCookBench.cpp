// MasterCook import and export speed, and the memory an import of a large file takes.
// Prints "name value unit" lines and the import's ratio to a bare prepared-INSERT loop.
#include "core/basDatabase.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"
#include "platform/db/Database.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/LineFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kRecipes = 20000;

QString title(int i) { return QString("Recipe Number %1").arg(i); }

// Fills the open cookbook with n marked recipes in one transaction.
void fill(int n)
{
    db::Transaction t(basDatabase::cnCookbook);
    db::Query q(basDatabase::cnCookbook,
                "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, YIELD, PREPTIME, MARK) "
                "VALUES (?1, 'Bench', 'Soups,Main Dish', ?2, 'Stir the pot.\r\nLet it simmer.', '4', '00:30', 1)");
    for (int i = 0; i < n; ++i) {
        q.reset();
        q.bind(1, title(i)).bind(2, "2 cups water\r\n1 onion\r\n1 tsp salt").exec();
    }
    t.commit();
}

// Writes MasterCook text of at least `bytes` bytes, recipes with long instructions, without a cookbook.
void writeLargeFile(const QString& path, qint64 bytes)
{
    text::LineWriter out(path);
    const QStringList head = {"*  Exported from  MasterCook  *", "", "", "", "Recipe By     : Bench",
                              "Serving Size  : 4     Preparation Time :0:30", "Categories    : Soups", "",
                              "  Amount  Measure       Ingredient -- Preparation Method",
                              "--------  ------------  --------------------------------", "2 cups water", "1 onion",
                              ""};
    const QString instruction = "Stir the pot and let it simmer for a while, then taste and season it.";
    qint64 written = 0;
    for (int i = 0; written < bytes; ++i) {
        for (int l = 0; l < head.size(); ++l) {
            const QString line = l == 2 ? title(i) : head[l];
            out.writeLine(line);
            written += line.size() + 2;
        }
        for (int l = 0; l < 40; ++l)
            out.writeLine(instruction);
        written += 40 * (instruction.size() + 2);
        out.writeLine("- - - - - - - - - - - - - - - - - - ");
        written += 38;
    }
    out.close();
}

void openNew(const QString& name)
{
    basDatabase::CreateCookbook(name + ".tqc");
    basDatabase::OpenCookbook(name + ".tqc");
}

double seconds(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e9; }

long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/data/cookbooks");
    paths::setProgramFolder(dir.path());
    const QString file = dir.path() + "/bench.mxp";

    // Memory first, while the process is still small: a file of about 100 MB streamed into a cookbook.
    writeLargeFile(file, 100'000'000);
    openNew("Large");
    cImport importer;
    const long before = peakKb();
    importer.ImportMasterCook(file);
    std::printf("mastercook_large_file %.0f MB\n", QFileInfo(file).size() / 1e6);
    std::printf("mastercook_large_import_peak_rise %.1f MB\n", (peakKb() - before) / 1024.0);

    QElapsedTimer t;
    openNew("Baseline");
    t.start();
    fill(kRecipes);
    const double bare = seconds(t);
    std::printf("mastercook_bare_insert %.0f recipes/s\n", kRecipes / bare);

    cExport exporter;
    t.restart();
    exporter.ExportMasterCook(file);
    std::printf("mastercook_export %.0f recipes/s\n", kRecipes / seconds(t));

    openNew("Target");
    t.restart();
    const bool ok = importer.ImportMasterCook(file);
    const double import = seconds(t);
    std::printf("mastercook_import %.0f recipes/s%s\n", kRecipes / import, ok ? "" : " (failed)");
    std::printf("mastercook_import_vs_bare_insert %.2f ratio\n", import / bare);
    basDatabase::cnCookbook.close();
    return ok ? 0 : 1;
}
