// Exchange benchmark: exports 20,000 marked recipes in each format, imports each file into an empty
// cookbook, compares the import with a bare prepared-INSERT loop of the same rows (also for titles beyond
// ASCII and for a MasterCook file laid out as real ones are), and measures the peak memory of importing a
// ~100 MB Meal-Master file and files without line ends (in child processes, so earlier phases do not
// count).
// Prints one line per figure: "name value unit".
#include "Median.h"

#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"
#include "platform/paths/ProgramFolder.h"
#include "tests/support/Headless.h"
#include "tests/support/ProgramLayout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRecipes = 20000;
constexpr qint64 kMemoryFileBytes = 100LL * 1024 * 1024;

void print(const QString& name, double value, const char* unit)
{
    std::printf("%s %.6g %s\n", name.toUtf8().constData(), value, unit);
    std::fflush(stdout);
}

qint64 peakRssKb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Opens a new, empty cookbook of that name as the current one.
void openEmptyCookbook(const QString& name)
{
    basDatabase::CreateCookbook(name + ".tqc");
    if (!basDatabase::OpenCookbook(name + ".tqc"))
        qFatal("could not open cookbook %s", qPrintable(name));
}

void fillSourceCookbook(const QString& titlePattern = "Recipe Number %1 Apple$$s Pie")
{
    db::Transaction tx(basDatabase::cnCookbook);
    db::Query q(basDatabase::cnCookbook,
                "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, YIELD, INGREDIENTS, INSTRUCTIONS, PREPTIME, "
                "COOKTIME, TOTALTIME, CALORIESPERSERVING, ORIGIN, WINE, MARK) "
                "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, 1)");
    const QString instructions =
        "Heat the oven. Mix the dry ingredients in a large bowl and rub in the butter until it looks like\r\n"
        "fine crumbs. Stir in the milk and the eggs, then knead briefly on a floured board.\r\n"
        "\r\n"
        "Shape, glaze and bake for 25 minutes until golden. Mum$$s tip: leave to cool on a rack.";
    for (int i = 0; i < kRecipes; ++i) {
        QStringList ingredients;
        for (int k = 0; k < 8; ++k)
            ingredients << QString("%1 c ingredient number %2 of recipe %3").arg(k + 1).arg(k).arg(i);
        q.reset();
        q.bind(1, titlePattern.arg(i));
        q.bind(2, "Jane Doe");
        q.bind(3, "Desserts,Pies");
        q.bind(4, "6 servings");
        q.bind(5, ingredients.join("\r\n"));
        q.bind(6, instructions);
        q.bind(7, "00:20");
        q.bind(8, "00:25");
        q.bind(9, "00:45");
        q.bind(10, "350");
        q.bind(11, "England");
        q.bind(12, "Riesling");
        q.exec();
    }
    tx.commit();
}

// Inserts the imported rows again with one prepared statement in one transaction; returns the seconds.
double bareInsertSeconds(const QString& importedCookbook, const QString& bareCookbook)
{
    basDatabase::CreateCookbook(bareCookbook + ".tqc");
    db::Connection from, to;
    from.open(basDatabase::CookbookPath(importedCookbook + ".tqc"));
    to.open(basDatabase::CookbookPath(bareCookbook + ".tqc"));

    // Only the columns the import filled, so the loop does no more than the reader's own inserts.
    const QStringList all = {"TITLE", "AUTHOR", "CATEGORY", "YIELD", "INGREDIENTS", "INSTRUCTIONS", "PREPTIME",
                             "COOKTIME", "TOTALTIME", "CALORIESPERSERVING", "ORIGIN", "WINE", "PICTURENAME",
                             "RECIPEPICTURE"};
    QStringList columns;
    for (const QString& c : all) {
        db::Query used(from, "SELECT 1 FROM RECIPES WHERE " + c + " IS NOT NULL LIMIT 1");
        if (used.next())
            columns << c;
    }
    QList<QVariantList> rows;
    db::Query read(from, "SELECT " + columns.join(", ") + " FROM RECIPES ORDER BY ID");
    while (read.next()) {
        QVariantList row;
        for (int c = 0; c < columns.size(); ++c)
            row << read.value(c);
        rows << row;
    }
    QStringList marks;
    for (int c = 1; c <= columns.size(); ++c)
        marks << QString("?%1").arg(c);

    QElapsedTimer timer;
    timer.start();
    {
        db::Transaction tx(to);
        db::Query insert(to, "INSERT INTO RECIPES (" + columns.join(", ") + ") VALUES (" + marks.join(", ") + ")");
        for (const QVariantList& row : rows) {
            insert.reset();
            for (int c = 0; c < row.size(); ++c)
                insert.bind(c + 1, row[c]);
            insert.exec();
        }
        tx.commit();
    }
    return timer.nsecsElapsed() / 1e9;
}

struct Format {
    QString name;
    QString extension;
    std::function<void(cExport&, const QString&)> write;
    std::function<bool(cImport&, const QString&)> read;
};

const QList<Format>& formats()
{
    static const QList<Format> all = {
        {"mealmaster", ".mmf", &cExport::ExportMealMaster, &cImport::ImportMealMaster},
        {"mastercook", ".mxp", &cExport::ExportMasterCook, &cImport::ImportMasterCook},
        {"compuchef", ".txt", &cExport::ExportCompuChef, &cImport::ImportCompuChef},
        {"xml", ".xml", &cExport::ExportXML, &cImport::ImportXML},
    };
    return all;
}

// Imports the file into an empty cookbook and compares the time with a bare INSERT loop of its rows.
// Both are timed five times, each into a fresh cookbook, and the medians count.
void benchImport(const QString& name, const QString& file, const std::function<bool(cImport&, const QString&)>& read)
{
    constexpr int kRuns = 5;
    std::vector<double> importSeconds, bareSeconds;
    bool ok = true;
    qint32 imported = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QString cookbook = QString("Import_%1_%2").arg(name).arg(run);
        openEmptyCookbook(cookbook);
        cImport importer;
        basMain::lRecipesFound = basMain::lRecipesImported = basMain::lRecipesSkipped = 0;
        QElapsedTimer timer;
        timer.start();
        ok = ok && QFile::exists(file) && read(importer, file);
        importSeconds.push_back(timer.nsecsElapsed() / 1e9);
        imported = basMain::lRecipesImported;
        basDatabase::CloseCookbook();
        if (imported == 0)
            break;
        bareSeconds.push_back(bareInsertSeconds(cookbook, QString("Bare_%1_%2").arg(name).arg(run)));
    }
    const double importMedian = bench::median(importSeconds);
    print(name + "_import_ok", ok ? 1 : 0, "bool");
    print(name + "_imported", imported, "recipes");
    print(name + "_import_rate", imported / importMedian, "recipes/s");
    if (imported == 0)
        return; // nothing to compare with
    const double bareMedian = bench::median(bareSeconds);
    print(name + "_import_seconds", importMedian, "s");
    print(name + "_bare_insert_seconds", bareMedian, "s");
    print(name + "_import_vs_bare_insert", importMedian / bareMedian, "ratio");
}

void benchFormat(const Format& f, const QString& folder, const QString& source = "Source", QString name = {})
{
    if (name.isEmpty())
        name = f.name;
    const QString file = folder + "/" + name + f.extension;

    basDatabase::OpenCookbook(source + ".tqc");
    cExport exporter;
    qint32 written = 0;
    QObject::connect(&exporter, &cExport::Exported, [&written](qint32 count) { written = count; });
    QElapsedTimer timer;
    timer.start();
    try {
        f.write(exporter, file);
    } catch (const AppError& e) {
        std::printf("# %s export failed: %s\n", qPrintable(f.name), qPrintable(e.description));
    }
    const double exportSeconds = timer.nsecsElapsed() / 1e9;
    if (written == 0 && QFileInfo(file).size() > 0)
        written = kRecipes; // a writer that reports no count: every recipe is marked
    print(name + "_exported", written, "recipes");
    print(name + "_export_rate", written / exportSeconds, "recipes/s");

    benchImport(name, file, f.read);
}

// A MasterCook file laid out as real ones are: no blank after the label colons, categories in columns,
// "--" notes, several paragraphs, notes and a nutrient line after the end rule.
void writeRealMasterCook(const QString& path, int recipes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    for (int i = 0; i < recipes; ++i) {
        chunk += "                     *  Exported from  MasterCook  *\r\n\r\n                  Real Layout Recipe "
                 + QByteArray::number(i) + "\r\n\r\nRecipe By     :More Bread Machine Magic, Linda Rehberg & Lois Conway\r\n"
                 "Serving Size  : 4    Preparation Time :0:45\r\n"
                 "Categories    : Breads                           Bread Machine\r\n\r\n"
                 "  Amount  Measure       Ingredient -- Preparation Method\r\n"
                 "--------  ------------  --------------------------------\r\n";
        for (int k = 0; k < 8; ++k)
            chunk += "   1 1/2  cups          bread flour -- sifted\r\n";
        chunk += "\r\nPut everything in the pan in the order given.  Bake on the basic cycle.\r\n\r\n"
                 "Cool on a rack before slicing.\r\n\r\n"
                 "                   - - - - - - - - - - - - - - - - - - \r\n\r\n"
                 "NOTES : Freezes well.\r\n\r\nNutr. Assoc. : 0 0 0 0 0 0\r\n\r\n";
        if (chunk.size() > (1 << 20)) {
            out.write(chunk);
            chunk.clear();
        }
    }
    out.write(chunk);
}

// A Meal-Master file of about `bytes` bytes, written straight, not through a cookbook.
qint64 writeLargeMealMaster(const QString& path, qint64 bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    qint64 recipes = 0;
    QByteArray chunk;
    while (out.size() + chunk.size() < bytes) {
        chunk += "MMMMM----- Recipe via Meal-Master (tm) v8.06\r\n \r\n      Title: Large file recipe "
                 + QByteArray::number(recipes++) + "\r\n Categories: Breads,Quick\r\n      Yield: 2 loaves\r\n \r\n";
        for (int k = 0; k < 10; ++k)
            chunk += "  1 1/2 c  flour, sifted twice with the salt and the baking powder\r\n";
        chunk += " \r\n";
        for (int k = 0; k < 8; ++k)
            chunk += "  Mix everything in a large bowl, knead for ten minutes, leave to rise and bake.\r\n";
        chunk += " \r\nMMMMM\r\n \r\n";
        if (chunk.size() > (1 << 20)) {
            out.write(chunk);
            chunk.clear();
        }
    }
    out.write(chunk);
    return recipes;
}

// Child process: imports the file into the named (empty) cookbook and prints the peak RSS before and after.
int importChild(const QString& folder, const QString& cookbook, const QString& file, const QString& format)
{
    paths::setProgramFolder(folder);
    if (!basDatabase::OpenCookbook(cookbook))
        return 2;
    const qint64 before = peakRssKb();
    cImport importer;
    const bool ok = format == "mastercook" ? importer.ImportMasterCook(file)
                    : format == "compuchef" ? importer.ImportCompuChef(file)
                    : format == "xml"       ? importer.ImportXML(file)
                                            : importer.ImportMealMaster(file);
    const qint64 after = peakRssKb();
    std::printf("%lld %lld %d %d\n", static_cast<long long>(before), static_cast<long long>(after), ok ? 1 : 0,
                basMain::lRecipesImported);
    return 0;
}

// Imports the file in a child process; returns the child's figures (peak RSS before and after in KiB,
// success, imported count), empty when it failed.
QList<QByteArray> importInChild(const QString& folder, const QString& cookbook, const QString& file,
                                const QString& format)
{
    basDatabase::CreateCookbook(cookbook);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--import-child", folder, cookbook, file, format});
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        std::printf("# memory child failed for %s\n", qPrintable(file));
        return {};
    }
    const QList<QByteArray> out = child.readAllStandardOutput().trimmed().split(' ');
    return out.size() == 4 ? out : QList<QByteArray>{};
}

void benchMemory(const QString& folder)
{
    const QString file = folder + "/large.mmf";
    const qint64 recipes = writeLargeMealMaster(file, kMemoryFileBytes);
    const QList<QByteArray> out = importInChild(folder, "Memory.tqc", file, "mealmaster");
    if (!out.isEmpty()) {
        print("mealmaster_large_file_size", QFileInfo(file).size() / (1024.0 * 1024.0), "MB");
        print("mealmaster_large_file_imported", out[3].toDouble(), "recipes");
        print("mealmaster_large_file_expected", static_cast<double>(recipes), "recipes");
        print("mealmaster_large_import_peak_rss_increase", (out[1].toDouble() - out[0].toDouble()) / 1024.0, "MB");
    }
    QFile::remove(file);

    // 100 MB without a line end after a recipe start, in each text format.
    const QList<QPair<QString, QByteArray>> starts = {
        {"mealmaster", "MMMMM----- Recipe via Meal-Master (tm) v8.06\r\nTitle: Endless\r\n"},
        {"mastercook", "*  Exported from  MasterCook  *\r\n\r\nEndless\r\n\r\n"},
        {"compuchef", "*****\r\n****** Endless ******\r\n*****\r\n"},
    };
    for (const auto& [format, start] : starts) {
        const QString endless = folder + "/endless-" + format;
        {
            QFile f(endless);
            if (!f.open(QIODevice::WriteOnly))
                return;
            f.write(start);
            const QByteArray block(1 << 20, 'x');
            for (int i = 0; i < 100; ++i)
                f.write(block);
        }
        const QList<QByteArray> child = importInChild(folder, "Endless-" + format + ".tqc", endless, format);
        if (!child.isEmpty())
            print(format + "_no_line_ends_100mb_peak_rss_increase",
                  (child[1].toDouble() - child[0].toDouble()) / 1024.0, "MB");
        QFile::remove(endless);
    }

    // XML: one row whose instructions hold 300 MB (skipped), and one whose picture is 100 MB (kept). The
    // reader's peak is to stay within 50 MB above twice the largest picture it keeps.
    const auto writeXml = [&](const QString& path, const QByteArray& attribute, qint64 megabytes, char fill) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("<xml xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>\r\n<rs:data>\r\n"
                "<z:row Title='Small' Category='Soups' Ingredients='salt' Instructions='Stir.'/>\r\n"
                "<z:row Title='Large' Category='Soups' Ingredients='salt' Instructions='Stir.' " + attribute + "='");
        const QByteArray block(1 << 20, fill);
        for (qint64 i = 0; i < megabytes; ++i)
            f.write(block);
        f.write("'/>\r\n</rs:data>\r\n</xml>\r\n");
        return true;
    };
    const struct {
        const char* name;
        QByteArray attribute;
        qint64 megabytes;
        char fill;
    } xmlCases[] = {{"xml_text_value_300mb", "Wine", 300, 'x'},
                    {"xml_picture_100mb", "PictureName='big.jpg' RecipePicture", 200, 'a'}};
    for (const auto& c : xmlCases) {
        const QString path = folder + "/" + c.name + ".xml";
        if (!writeXml(path, c.attribute, c.megabytes, c.fill))
            return;
        const QList<QByteArray> child = importInChild(folder, QString(c.name) + ".tqc", path, "xml");
        if (!child.isEmpty()) {
            print(QString(c.name) + "_imported", child[3].toDouble(), "recipes");
            print(QString(c.name) + "_peak_rss_increase", (child[1].toDouble() - child[0].toDouble()) / 1024.0,
                  "MB");
        }
        QFile::remove(path);
    }

    // One Meal-Master recipe whose directions hold `megabytes` lines of 1 MiB: up to 16 MB it is stored,
    // beyond that skipped.
    for (const int megabytes : {15, 40}) {
        const QString big = folder + QString("/big-recipe-%1.mmf").arg(megabytes);
        {
            QFile f(big);
            if (!f.open(QIODevice::WriteOnly))
                return;
            f.write("MMMMM----- Recipe via Meal-Master (tm) v8.06\r\nTitle: Big\r\nCategories: Big\r\nYield: 1\r\n"
                    "\r\nsalt\r\n\r\n");
            const QByteArray line = QByteArray((1 << 20) - 2, 'x') + "\r\n";
            for (int i = 0; i < megabytes; ++i)
                f.write(line);
            f.write("MMMMM\r\n");
        }
        const QList<QByteArray> child = importInChild(folder, QString("Big-%1.tqc").arg(megabytes), big, "mealmaster");
        if (!child.isEmpty()) {
            const QString name = QString("mealmaster_recipe_of_%1mb").arg(megabytes);
            print(name + "_imported", child[3].toDouble(), "recipes");
            print(name + "_peak_rss_increase", (child[1].toDouble() - child[0].toDouble()) / 1024.0, "MB");
        }
        QFile::remove(big);
    }
}

} // namespace

int main(int argc, char** argv)
{
    Headless headless;
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == "--import-child")
        return importChild(args[2], args[3], args[4], args[5]);

    QTemporaryDir dir;
    layOutProgramFolder(dir.path());
    paths::setProgramFolder(dir.path());

    openEmptyCookbook("Source");
    fillSourceCookbook();
    print("recipes", kRecipes, "recipes");
    for (const Format& f : formats())
        benchFormat(f, dir.path());

    // Titles beyond ASCII: the duplicate test must not read the whole table for each of them.
    openEmptyCookbook("SourceAccents");
    fillSourceCookbook(QString::fromUtf8("Cr\u00e8me Br\u00fbl\u00e9e %1"));
    benchFormat(formats().first(), dir.path(), "SourceAccents", "mealmaster_non_ascii_titles");

    const QString real = dir.path() + "/real-layout.mxp";
    writeRealMasterCook(real, kRecipes);
    benchImport("mastercook_real_layout", real, &cImport::ImportMasterCook);
    basDatabase::CloseCookbook();
    benchMemory(dir.path());
    return 0;
}
