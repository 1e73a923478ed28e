// What the readers and writers must never lose, whatever the file or the disk: long values, lines that
// real files write, a file closed under a reader, oversized records, a failing database, a failing disk.
#include "ImportFixture.h"

#include "exchange/ColumnFit.h"
#include "exchange/cExport.h"
#include "platform/text/FileRegistry.h"

#include <QDir>
#include <QLocale>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

const QString kColumns = "  Amount  Measure       Ingredient -- Preparation Method";
const QString kRule = "--------  ------------  --------------------------------";

class NothingLost : public ImportFixture {
protected:
    QVariantMap only()
    {
        const QList<QVariantMap> rows = recipes();
        EXPECT_EQ(rows.size(), 1);
        return rows.value(0);
    }
};

TEST(FitToSize, CutsAtTheLimitNeverInsideAPairOrACharacter)
{
    const QString clef = QString::fromUcs4(U"\U0001D11E"); // two UTF-16 units, one character
    const struct {
        QString value;
        int size;
        QString fitted;
    } cases[] = {
        {"short", 50, "short"},
        {QString(60, 'a'), 50, QString(50, 'a')},
        {"abc   defg", 6, "abc"},                  // blanks the cut leaves are trimmed
        {"abcd$$efg", 5, "abcd"},                  // the pair would be split
        {"abc$$efg", 5, "abc$$"},                  // the pair fits whole
        {"ab" + clef + clef + "cd", 4, "ab" + clef + clef},
        {"ab" + clef + "cd", 2, "ab"},
        {QString(300, 'x'), 0, QString(300, 'x')}, // no limit
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitToSize(c.value, c.size), c.fitted) << c.value.toStdString() << " / " << c.size;
    EXPECT_EQ(basDatabase::RecipeColumnSize("Author"), 50);
    EXPECT_EQ(basDatabase::RecipeColumnSize("CALORIESPERSERVING"), 255);
    EXPECT_EQ(basDatabase::RecipeColumnSize("Instructions"), 0);
}

TEST_F(NothingLost, MasterCookLinesAsRealFilesWriteThem)
{
    const QString author = "More Bread Machine Magic, Linda Rehberg & Lois Conway";
    const QString path = writeFile(
        "real.mxp",
        crlf({"* Exported from MasterCook *", "", "Cabbage Rolls", "", "Recipe By     :" + author,
              "Serving Size  : 4 ramekins  Preparation Time :0:30", "Categories    :Main Dish", "", kColumns, kRule,
              "   1      head          cabbage--about 2 lbs", "   1      medium        onion -- chopped",
              "                        -------- sauce --------", "                        -----------------------",
              "   1      can           tomatoes", "", "Roll and bake.", "", "- - - -", "",
              "NOTES : Freezes well.", "Serving Ideas : With rye bread.", "",
              "Nutr. Assoc. : 0 0 0", "", "* Exported from MasterCook *", "", "Second", "",
              "Recipe By     :Drew Alan Kaplan", "Serving Size  : 2    Preperation Time :0:10",
              "Categories    : Snacks", "", kColumns, kRule, "1 egg", "", "Boil.", "",
              "                   - - - - - - - - - - - - - - - - - - ", ""}));

    EXPECT_TRUE(importer.ImportMasterCook(path));
    EXPECT_EQ(counters(), (QList<qint32>{2, 2, 0}));
    const QList<QVariantMap> rows = recipes();
    ASSERT_EQ(rows.size(), 2);
    const QVariantMap& r = rows[0];
    EXPECT_EQ(r["AUTHOR"].toString(), "More Bread Machine Magic, Linda Rehberg & Lois Con"); // fitted to 50
    EXPECT_EQ(r["YIELD"].toString(), "4 ramekins");
    EXPECT_EQ(r["CATEGORY"].toString(), "Main Dish");
    EXPECT_EQ(r["PREPTIME"].toString(), "0:30");
    EXPECT_EQ(r["INGREDIENTS"].toString(),
              "1 head cabbage about 2 lbs\r\n1 medium onion chopped\r\nsauce\r\n1 can tomatoes\r\n");
    EXPECT_EQ(r["INSTRUCTIONS"].toString(), "Roll and bake.\r\n\r\nNOTES : Freezes well.\r\n"
                                            "Serving Ideas : With rye bread.\r\n");
    EXPECT_EQ(rows[1]["AUTHOR"].toString(), "Drew Alan Kaplan");
    EXPECT_EQ(rows[1]["YIELD"].toString(), "2");
    EXPECT_EQ(rows[1]["INSTRUCTIONS"].toString(), "Boil.\r\n");
}

TEST_F(NothingLost, WritersNeverWriteABlankLineInsideTheIngredients)
{
    cExport exporter;
    const struct {
        const char* file;
        void (cExport::*write)(const QString&);
        bool (cImport::*read)(const QString&);
    } formats[] = {
        {"out.mxp", &cExport::ExportMasterCook, &cImport::ImportMasterCook},
        {"out.mmf", &cExport::ExportMealMaster, &cImport::ImportMealMaster},
        {"out.txt", &cExport::ExportCompuChef, &cImport::ImportCompuChef},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.file);
        program.createCookbook(QString("Source ") + QString(f.file).section(QLatin1Char('.'), 1));
        const qint64 marked = ScratchProgram::addRecipe("Layered", "Dessert", "1 cup flour\r\n\r\n   \r\n2 eggs\r\n");
        db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1, INSTRUCTIONS='Mix.' WHERE ID=?1", {marked})
            .exec();
        (exporter.*f.write)(program.path(f.file));
        program.createCookbook(QString("Copy ") + QString(f.file).section(QLatin1Char('.'), 1));
        EXPECT_TRUE((importer.*f.read)(program.path(f.file)));
        const QVariantMap r = only();
        EXPECT_TRUE(r["INGREDIENTS"].toString().startsWith("1 cup flour\r\n2 eggs")) << r["INGREDIENTS"].toString().toStdString();
        EXPECT_TRUE(r["INSTRUCTIONS"].toString().startsWith("Mix.")) << r["INSTRUCTIONS"].toString().toStdString();
    }
}

TEST_F(NothingLost, AFileClosedUnderAReaderEndsTheReadFalse)
{
    // An error box raised elsewhere while the reader yields closes every open file.
    cImport::setYieldHook([] { text::closeAllFiles(); });
    const QStringList mastercook = {"* Exported from MasterCook *", "", "One", "", "Recipe By     : A",
                                    "Serving Size  : 1", "Categories    : X", "", kColumns, kRule, "1 egg", "",
                                    "Boil.", "", "- - - -", ""};
    EXPECT_FALSE(importer.ImportMasterCook(writeFile("closed.mxp", crlf(mastercook + mastercook))));
    const QStringList compuchef = {"*****", "****** One ******", "*****", "Categories: X", "", "x", "",
                                   "*** Recipe Via Compu-Chef (tm) ***"};
    EXPECT_FALSE(importer.ImportCompuChef(writeFile("closed.txt", crlf(compuchef + compuchef))));
    const QStringList mealmaster = {"MMMMM----- Recipe via Meal-Master (tm) v8.06", "Title: One", "Categories: Xyz",
                                    "Yield: 1", "", "salt", "", "x", "MMMMM"};
    EXPECT_FALSE(importer.ImportMealMaster(writeFile("closed.mmf", crlf(mealmaster + mealmaster))));
}

TEST_F(NothingLost, AnOversizedRecipeIsSkippedAndReadingGoesOn)
{
    // 17 lines of 1 MiB in the directions of the first recipe; the second must still come in.
    QByteArray bytes = "MMMMM----- Recipe via Meal-Master (tm) v8.06\r\nTitle: Huge\r\nCategories: Big\r\nYield: 1\r\n"
                       "\r\nsalt\r\n\r\n";
    const QByteArray line = QByteArray(1 << 20, 'x') + "\r\n";
    for (int i = 0; i < 17; ++i)
        bytes += line;
    bytes += "MMMMM\r\nMMMMM----- Recipe via Meal-Master (tm) v8.06\r\nTitle: Small\r\nCategories: Big\r\n"
             "Yield: 1\r\n\r\nsalt\r\n\r\nStir.\r\nMMMMM\r\n";

    EXPECT_FALSE(importer.ImportMealMaster(writeFile("huge.mmf", bytes)));
    EXPECT_EQ(counters(), (QList<qint32>{2, 1, 1}));
    EXPECT_EQ(only()["TITLE"].toString(), "Small");
}

TEST_F(NothingLost, TheTitleSetAnswersAsTheTitleQueryDoes)
{
    for (const char* stored : {"Crème Brûlée", "Apple Pie", "\u212Aiwi", "STRASSE", "Irmik helvası", "İçli köfte"})
        ScratchProgram::addRecipe(QString::fromUtf8(stored));
    const basDatabase::RecipeTitles titles;
    for (const char* asked : {"crème brûlée", "CRÈME BRÛLÉE", "apple pie", "Apple Pies", "kiwi", "\u212AIWI",
                              "Straße", "strasse", "Crème", "ÄPPLE PIE", "IRMIK HELVASI", "İÇLİ KÖFTE"}) {
        const QString title = QString::fromUtf8(asked);
        EXPECT_EQ(titles.contains(title), basDatabase::RecipeTitleExists(title)) << asked;
    }
    // An import in capitals stores no second Turkish title.
    EXPECT_TRUE(titles.contains("IRMIK HELVASI"));
    EXPECT_TRUE(titles.contains(QString::fromUtf8("İÇLİ KÖFTE")));
}

TEST_F(NothingLost, AFailingDatabaseEndsTheReadWithOneReport)
{
    const QByteArray file = crlf({"MMMMM----- Recipe via Meal-Master (tm) v8.06", "Title: One", "Categories: Xyz",
                                  "Yield: 1", "", "salt", "", "x", "MMMMM",
                                  "MMMMM----- Recipe via Meal-Master (tm) v8.06", "Title: Two", "Categories: Xyz",
                                  "Yield: 1", "", "salt", "", "x", "MMMMM"});
    const QString path = writeFile("in.mmf", file);

    // Another instance holds the write lock past the busy timeout: nothing is counted as skipped.
    sqlite3_busy_timeout(basDatabase::cnCookbook.handle(), 50);
    {
        db::Connection other;
        other.open(basDatabase::cnCookbook.path());
        db::Transaction lock(other, db::Transaction::OnScopeExit::Rollback, db::Transaction::Lock::Immediate);
        EXPECT_FALSE(importer.ImportMealMaster(path));
        EXPECT_EQ(counters(), (QList<qint32>{0, 0, 0}));
    }
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("database is locked"));
    EXPECT_TRUE(recorder.boxes[0].text.contains("ImportMealMaster"));

    // A cookbook that refuses every write: the first insert ends the run, reported once.
    recorder.boxes.clear();
    basDatabase::cnCookbook.exec("PRAGMA query_only=1");
    EXPECT_FALSE(importer.ImportMealMaster(path));
    basDatabase::cnCookbook.exec("PRAGMA query_only=0");
    EXPECT_EQ(basMain::lRecipesSkipped, 0);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("readonly"));
    EXPECT_TRUE(recipes().isEmpty());
}

TEST_F(NothingLost, AnExportToAFullDiskLeavesTheOldFileAndReportsIt)
{
    const qint64 id = ScratchProgram::addRecipe("Big Soup", "Soups", QString(4000, 'x'));
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1, INSTRUCTIONS='Stir.' WHERE ID=?1", {id}).exec();
    const QString target = program.path("export.mmf");
    writeBytes(target, "the export of last week\r\n");

    // The process may write no file beyond 1 KiB: as on a disk that fills up during the export.
    struct rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    cExport exporter;
    exporter.ExportMealMaster(target);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(readBytes(target), QByteArray("the export of last week\r\n"));
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("ExportTovalquendry"));
    EXPECT_EQ(QDir(program.path()).entryList({"export.mmf*"}, QDir::Files), QStringList{"export.mmf"});
}

// Text exports are in the code page of the user's language, or UTF-8 when a letter does not fit it; every
// letter comes back, and files of that code page from other programs read right.
TEST_F(NothingLost, TextFilesKeepEveryLetterOfTheUsersLanguage)
{
    struct Case {
        const char* locale;
        QStringList titles;
        QByteArray written; // in the file, in its character set
    } cases[] = {
        {"pl_PL", {QString::fromUtf8("Żurek Śląski"), QString::fromUtf8("Łosoś Z Koperkiem")}, "\xafurek \x8cl\xb9ski"},
        {"el_GR", {QString::fromUtf8("Μουσακάς")}, "\xcc\xef\xf5\xf3\xe1\xea\xdc\xf2"},
        {"ja_JP", {QString::fromUtf8("寿司 Ramen")}, "\x8e\xf5\x8e\x69 Ramen"},
        {"fr_FR", {QString::fromUtf8("Œufs À La Neige")}, "\x8cufs \xc0 La Neige"},
        {"pl_PL", {QString::fromUtf8("Żurek"), QString::fromUtf8("Μουσακάς")}, QString::fromUtf8("Μουσακάς").toUtf8()},
    };
    using Writer = void (cExport::*)(const QString&);
    using Reader = bool (cImport::*)(const QString&);
    const struct {
        const char* name;
        Writer write;
        Reader read;
    } formats[] = {{"Meal-Master", &cExport::ExportMealMaster, &cImport::ImportMealMaster},
                   {"MasterCook", &cExport::ExportMasterCook, &cImport::ImportMasterCook},
                   {"Compu-Chef", &cExport::ExportCompuChef, &cImport::ImportCompuChef}};
    int n = 0;
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        for (const auto& f : formats) {
            const QString where = QString("%1, %2").arg(c.locale, f.name);
            program.createCookbook(QString("From%1").arg(++n));
            for (const QString& title : c.titles) {
                const qint64 id = ScratchProgram::addRecipe(title, "Zupy", "1 l wody");
                db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1, INSTRUCTIONS=?2 WHERE ID=?1",
                          {id, title + ": 20 min."}).exec();
            }
            const QString file = program.path(QString("export%1.txt").arg(n));
            (cExport().*f.write)(file);
            EXPECT_TRUE(readBytes(file).contains(c.written)) << where.toStdString();

            program.createCookbook(QString("Back%1").arg(n));
            EXPECT_TRUE((importer.*f.read)(file)) << where.toStdString();
            QStringList back;
            for (const QVariantMap& row : recipes()) {
                back << row["TITLE"].toString();
                EXPECT_TRUE(row["INSTRUCTIONS"].toString().startsWith(row["TITLE"].toString() + ": 20 min."))
                    << where.toStdString();
            }
            EXPECT_EQ(back, c.titles) << where.toStdString();
        }
    }
    EXPECT_TRUE(recorder.boxes.isEmpty());

    // Files of the user's code page written by other programs.
    const struct {
        const char* locale;
        QByteArray title;
        QString read;
    } others[] = {{"pl_PL", "\xafurek \xa3owicki", QString::fromUtf8("Żurek Łowicki")},
                  {"el_GR", "\xcc\xef\xf5\xf3\xe1\xea\xdc\xf2\xf2", QString::fromUtf8("Μουσακάςς")},
                  {"de_DE", "\xc4pfel Im Schlafrock", QString::fromUtf8("Äpfel Im Schlafrock")}};
    for (const auto& o : others) {
        QLocale::setDefault(QLocale(QString::fromLatin1(o.locale)));
        program.createCookbook(QString("Other%1").arg(++n));
        const QString file = writeFile(QString("other%1.mmf").arg(n),
                                       "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n\r\n      Title: " + o.title +
                                           "\r\n Categories: Soups\r\n      Yield: 4\r\n\r\n  1 l water\r\n\r\n"
                                           "Boil.\r\n\r\nMMMMM\r\n");
        EXPECT_TRUE(importer.ImportMealMaster(file)) << o.locale;
        ASSERT_EQ(recipes().size(), 1) << o.locale;
        EXPECT_EQ(recipes()[0]["TITLE"].toString(), o.read) << o.locale;
    }
    QLocale::setDefault(QLocale::system());
}

} // namespace
