// XML exchange import and export speed, and the memory an import of a large file takes.
// Prints "name value unit" lines and the import's ratio to a bare prepared-INSERT loop.
#include "core/basDatabase.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"
#include "platform/db/Database.h"
#include "platform/paths/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kRecipes = 20000;
const QByteArray kPicture(600, '\x5a'); // a small picture in every row

QString title(int i) { return QString("Recipe Number %1").arg(i); }

// Fills the open cookbook with n marked recipes in one transaction.
void fill(int n)
{
    db::Transaction t(basDatabase::cnCookbook);
    db::Query q(basDatabase::cnCookbook,
                "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, PREPTIME, COOKTIME, TOTALTIME, YIELD, "
                "CALORIESPERSERVING, INSTRUCTIONS, WINE, INGREDIENTS, ORIGIN, PICTURENAME, RECIPEPICTURE, MARK) "
                "VALUES (?1, 'Bench', 'Soups,Main Dish', '00:30', '01:00', '01:30', '4', '250', "
                "'Stir the pot.\r\nLet it simmer.', 'Claret', ?2, 'France', 'soup.jpg', ?3, 1)");
    for (int i = 0; i < n; ++i) {
        q.reset();
        q.bind(1, title(i)).bind(2, "2 cups water\r\n1 onion\r\n1 tsp salt").bind(3, kPicture).exec();
    }
    t.commit();
}

// Writes a rowset document of at least `bytes` bytes, rows with long instructions, without a cookbook.
void writeLargeFile(const QString& path, qint64 bytes)
{
    QFile out(path);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    out.write("<xml xmlns:s=\"uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882\" "
              "xmlns:dt=\"uuid:C2F41010-65B3-11d1-A29F-00AA00C14882\" "
              "xmlns:rs=\"urn:schemas-microsoft-com:rowset\" xmlns:z=\"#RowsetSchema\">\n"
              "\t<s:Schema id=\"RowsetSchema\"/>\n\t<rs:data>\n");
    QByteArray instructions;
    for (int l = 0; l < 40; ++l)
        instructions += "Stir the pot and let it simmer for a while, then taste and season it.&#13;&#10;";
    for (int i = 0; out.size() < bytes; ++i)
        out.write("\t\t<z:row Title=\"" + title(i).toUtf8() + "\" Author=\"Bench\" Category=\"Soups\" Ingredients=\""
                  "2 cups water&#13;&#10;1 onion\" Instructions=\"" + instructions + "\" Yield=\"4\"/>\n");
    out.write("\t</rs:data>\n</xml>\n");
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
    const QString file = dir.path() + "/bench.xml";

    // Memory first, while the process is still small: a file of about 100 MB streamed into a cookbook.
    writeLargeFile(file, 100'000'000);
    openNew("Large");
    cImport importer;
    const long before = peakKb();
    importer.ImportXML(file);
    std::printf("xml_large_file %.0f MB\n", QFileInfo(file).size() / 1e6);
    std::printf("xml_large_import_peak_rise %.1f MB\n", (peakKb() - before) / 1024.0);

    QElapsedTimer t;
    openNew("Baseline");
    t.start();
    fill(kRecipes);
    const double bare = seconds(t);
    std::printf("xml_bare_insert %.0f recipes/s\n", kRecipes / bare);

    cExport exporter;
    t.restart();
    exporter.ExportXML(file);
    std::printf("xml_export %.0f recipes/s\n", kRecipes / seconds(t));

    openNew("Target");
    t.restart();
    const bool ok = importer.ImportXML(file);
    const double import = seconds(t);
    std::printf("xml_import %.0f recipes/s%s\n", kRecipes / import, ok ? "" : " (failed)");
    std::printf("xml_import_vs_bare_insert %.2f ratio\n", import / bare);
    basDatabase::cnCookbook.close();
    return ok ? 0 : 1;
}
