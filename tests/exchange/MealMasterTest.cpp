// Meal-Master files: what the reader stores, what the writer writes, and real files from other programs.
#include "ImportFixture.h"

#include "exchange/cExport.h"
#include "platform/text/TextRules.h"

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>

namespace {

const QString kHeader = "MMMMM----- Recipe via Meal-Master (tm) v8.05";

class MealMasterTest : public ImportFixture {
protected:
    bool import(const QStringList& lines) { return importer.ImportMealMaster(writeFile("in.mmf", crlf(lines))); }
    static QStringList titles()
    {
        QStringList t;
        for (const QVariantMap& r : recipes())
            t << r["TITLE"].toString();
        return t;
    }
};

struct FieldCase {
    const char* name;
    QStringList lines; // the recipe after its header line
    QString title, category, yield, ingredients, instructions;
};

TEST_F(MealMasterTest, ReaderFields)
{
    const FieldCase cases[] = {
        {"plain", {"", "      Title: Apple pie", " Categories: Desserts, Pies", "      Yield: 2 loaves", "",
                   "      1 c  flour  ", "    1/2 ts salt", "", "", "  Mix it.  ", "", "  Bake it.", "MMMMM"},
         "Apple Pie", "Desserts, Pies", "2 loaves", "1 c  flour\r\n1/2 ts salt", "Mix it.\r\n\r\n  Bake it."},
        {"quotes and apostrophes", {"Title: \"Grandma's\" CHILI", "Categories: Chili's", "Servings: 4 ", "",
                                    "1 can beans'", "", "Don't stir.", "-----"},
         "Grandma$$s Chili", "Chili$$s", "4 ", "1 can beans$$", "Don$$t stir."},
        {"short or empty categories, no digit in yield", {"Title: A", "Categories: xy", "Yield: some", "", "salt",
                                                           "", "x", "----------  "},
         "A", "Unknown", "", "salt", "x"},
        {"an indented underline is text", {"Title: U", "Categories: Pies", "Yield: 1", "", "salt", "", "Topping",
                                           "  -------", "Whip.", "-----"},
         "U", "Pies", "1", "salt", "Topping\r\n  -------\r\nWhip."},
        {"empty categories, title without colon", {"  just a title  ", "Categories:", "Makes 12", "", "salt", "",
                                                    "x", "  MMMMM  "},
         "Just A Title", "Unknown", "12", "salt", "x"},
        {"blank line inside the ingredients", {"Title: B", "Categories: Soups", "Yield: 1", "", "water", "",
                                               "salt", "pepper", "", "Boil.", "MMMMM"},
         "B", "Soups", "1", "water", "salt\r\npepper\r\n\r\nBoil."},
        {"end line right after the yield", {"Title: C", "Categories: Pies", "Servings: 42 pies", "MMMMM"},
         "C", "Pies", "42 pies", "", ""},
        {"end line ends the ingredients", {"Title: D", "Categories: Pies", "Yield: 1", "",
                                           "MMMMM-----meringue-----", "1 c sugar", "MMMMM"},
         "D", "Pies", "1", "MMMMM-----meringue-----\r\n1 c sugar", ""},
        {"a tilde rule is not an end line", {"Title: E", "Categories: Pies", "Yield: 1", "", "salt", "",
                                            "~-----", "Bake.", "---- -", "-----"},
         "E", "Pies", "1", "salt", "~-----\r\nBake.\r\n---- -"},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES").exec();
        EXPECT_TRUE(import(QStringList{kHeader} + c.lines));
        EXPECT_EQ(counters(), (QList<qint32>{1, 1, 0}));
        const QList<QVariantMap> rows = recipes();
        ASSERT_EQ(rows.size(), 1);
        const QVariantMap& r = rows[0];
        EXPECT_EQ(r["TITLE"].toString(), c.title);
        EXPECT_EQ(r["AUTHOR"].toString(), "Not known");
        EXPECT_EQ(r["CATEGORY"].toString(), c.category);
        EXPECT_FALSE(r["YIELD"].isNull());
        EXPECT_EQ(r["YIELD"].toString(), c.yield);
        EXPECT_EQ(r["INGREDIENTS"].toString(), c.ingredients);
        EXPECT_EQ(r["INSTRUCTIONS"].toString(), c.instructions);
    }
}

TEST_F(MealMasterTest, EightBitTextAndEveryLineEnd)
{
    for (const QByteArray eol : {"\r\n", "\n", "\r"}) {
        db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES").exec();
        QByteArray file = "---------- Recipe via Meal-Master (tm) v8.01" + eol + eol;
        for (const QByteArray& l : {QByteArray("Title: Cr\xe8me br\xfbl\xe9"), QByteArray("Categories: Desserts"),
                                    QByteArray("Yield: 4"), QByteArray(), QByteArray("1 c cr\xe8me"), QByteArray(),
                                    QByteArray("Chill."), QByteArray("-----")})
            file += l + eol;
        EXPECT_TRUE(importer.ImportMealMaster(writeFile("in.mmf", file)));
        ASSERT_EQ(recipes().size(), 1) << eol.toHex().constData();
        EXPECT_EQ(recipes()[0]["TITLE"].toString(), QString::fromUtf8("Crème Brûlé"));
        EXPECT_EQ(recipes()[0]["INGREDIENTS"].toString(), QString::fromUtf8("1 c crème"));
    }
}

TEST_F(MealMasterTest, RecipesAreNeverMergedOrLostAndDuplicatesAreSkipped)
{
    QList<QList<qint32>> processing;
    QObject::connect(&importer, &cImport::Processing,
                     [&](qint32 f, qint32 i, qint32 s) { processing.append({f, i, s}); });
    EXPECT_TRUE(import({kHeader, "Title: Apple pie", "Categories: Pies", "Yield: 1", "", "apples", "", "Bake.",
                        kHeader, "Title: APPLE PIE", "Categories: Pies", "Yield: 1", "", "pears", "",
                        "----- Exported by another program [Meal-Master Export Format] -----",
                        "Title: Pear tart", "Categories: Tarts", "Yield: 1", "", "pears",
                        kHeader, "", kHeader, "Title: Plum cake", "MMMMM", "Plum jam"}));
    EXPECT_EQ(titles(), (QStringList{"Apple Pie", "Pear Tart", "Plum Cake"}));
    EXPECT_EQ(recipes()[0]["INSTRUCTIONS"].toString(), "Bake.");
    EXPECT_EQ(recipes()[1]["INGREDIENTS"].toString(), "pears");
    EXPECT_EQ(recipes()[2]["CATEGORY"].toString(), "Unknown");
    EXPECT_EQ(recipes()[2]["YIELD"], QVariant(QString("")));
    EXPECT_EQ(processing.mid(0, 4), (QList<QList<qint32>>{{1, 0, 0}, {1, 1, 0}, {2, 1, 0}, {2, 1, 1}}));
    EXPECT_EQ(counters(), (QList<qint32>{5, 3, 1})); // a header with no recipe under it is no duplicate
    EXPECT_EQ(yields, 5);

    // Read again: every title is stored, so every recipe is skipped and nothing is merged into another.
    EXPECT_TRUE(import({kHeader, "Title: Plum cake", "MMMMM", kHeader, "Title: New one", "MMMMM"}));
    EXPECT_EQ(counters(), (QList<qint32>{2, 1, 1}));

    // An end line before any title ends that empty recipe: found, neither stored nor skipped.
    db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES").exec();
    EXPECT_TRUE(import({kHeader, "", "MMMMM", kHeader, "-----", kHeader, "Title: After", "Categories: Pies",
                        "Yield: 1", "", "salt", "", "Stir.", "MMMMM"}));
    EXPECT_EQ(counters(), (QList<qint32>{3, 1, 0}));
    EXPECT_EQ(titles(), QStringList{"After"});
}

// Under Turkish, titles are proper-cased with i/İ and ı/I paired, and a title in capitals is the stored one.
TEST_F(MealMasterTest, TurkishTitlesAreProperCasedInTurkishAndTheirDuplicatesSkipped)
{
    db::Query(basDatabase::cnCookbook, "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
                                       "VALUES (?1, '', 'Tatlılar', 'irmik', 'Kavur.')",
              {QString::fromUtf8("Irmik helvası")})
        .exec();
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    QStringList lines;
    for (const char* title : {"IRMIK HELVASI", "imam bayıldı", "İÇLİ KÖFTE", "İçli köfte"})
        lines << kHeader << QString::fromUtf8("Title: ") + QString::fromUtf8(title) << "Categories: Yemek"
              << "Yield: 4" << "" << "tuz" << "" << QString::fromUtf8("Pişir.") << "MMMMM";
    const bool read = import(lines);
    QLocale::setDefault(previous);
    EXPECT_TRUE(read);
    EXPECT_EQ(titles(), QString::fromUtf8("Irmik helvası|İmam Bayıldı|İçli Köfte").split('|'));
    EXPECT_EQ(counters(), (QList<qint32>{4, 2, 2}));
}

TEST_F(MealMasterTest, CutOffRefusedAndBrokenFilesEndCleanly)
{
    EXPECT_FALSE(import({kHeader, "Title: First", "Categories: Pies", "Yield: 1", "", "a", "", "b", "MMMMM",
                         kHeader, "Title: Second", "Categories: Pies", "Yield: 1", "", "a", "", "b"}));
    EXPECT_EQ(titles(), QStringList{"First"});
    EXPECT_EQ(counters(), (QList<qint32>{2, 1, 0}));

    // A value longer than its column is fitted to it; the recipe is kept.
    EXPECT_TRUE(import({kHeader, "Title: Long", "Categories: Pies", "Yield: 1" + QString(60, 'x'), "MMMMM",
                        kHeader, "Title: Short", "Categories: Pies", "Yield: 1", "MMMMM"}));
    EXPECT_EQ(counters(), (QList<qint32>{2, 2, 0}));
    EXPECT_EQ(recipes().at(1)["YIELD"].toString(), "1" + QString(49, 'x'));

    EXPECT_TRUE(importer.ImportMealMaster(writeFile("empty.mmf", {})));
    EXPECT_EQ(counters(), (QList<qint32>{0, 0, 0}));
    EXPECT_TRUE(import({"no recipe", "in here", "-----"}));
    EXPECT_EQ(counters(), (QList<qint32>{0, 0, 0}));

    QByteArray noise(200000, '\0');
    QRandomGenerator rng(7);
    for (char& c : noise)
        c = static_cast<char>(rng.bounded(256));
    noise.insert(1000, "\r\n" + kHeader.toLatin1() + "\r\n");
    importer.ImportMealMaster(writeFile("binary.mmf", noise)); // either outcome; it must end
    EXPECT_GE(basMain::lRecipesFound, 1);
    EXPECT_EQ(recorder.boxes.size(), 0);
}

TEST_F(MealMasterTest, CancelStopsBeforeTheNextScanningLine)
{
    QStringList file;
    for (const QString& t : {"One", "Two", "Three"})
        file << kHeader << "Title: " + t << "Categories: Pies" << "Yield: 1" << "" << "a" << "" << "b" << "MMMMM";
    QObject::connect(&importer, &cImport::Processing, [](qint32 found, qint32, qint32) {
        if (found == 1)
            basMain::bCancelImport = true;
    });
    EXPECT_TRUE(import(file));
    EXPECT_EQ(titles(), QStringList{"One"}); // the recipe under way is finished
    EXPECT_EQ(counters(), (QList<qint32>{1, 1, 0}));

    // The same when the next header ended the recipe under way.
    basMain::bCancelImport = false;
    db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES").exec();
    file.removeAll("MMMMM");
    EXPECT_TRUE(import(file));
    EXPECT_EQ(counters(), (QList<qint32>{1, 1, 0}));
}

class MealMasterExport : public MealMasterTest {
protected:
    void SetUp() override
    {
        MealMasterTest::SetUp();
        const QList<QVariantList> rows = {
            {"Mum$$s Pie", "Jane O$$Brien", "Dessert,Pies", "6 servings", "1 cup flour\r\n2 tb butter\r\n  1 pn salt",
             "Mix it all.\r\n\r\nBake at 200 for 1$$2 hour.", 1},
            {"Plain Soup", "Not Known", "Soups", QVariant(), "1 l water", "Boil.", 1},
            {"Hidden", "Me", "Soups", "1", "x", "y", 0},
            {QString::fromUtf8("Café Crème"), "", "Drinks", "2", "", QString::fromUtf8("Brew Ω."), 1},
            {"Old Bread", "NOT KNOWN", "Bread$$s", "1 lo$$f", "3 c flour", "Knead.", 1},
        };
        for (const QVariantList& r : rows) {
            db::Query q(basDatabase::cnCookbook, "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, YIELD, INGREDIENTS, "
                                                 "INSTRUCTIONS, MARK) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
            for (int i = 0; i < r.size(); ++i)
                q.bind(i + 1, r[i]);
            q.exec();
        }
    }
};

TEST_F(MealMasterExport, WritesTheMarkedRecipesByteForByte)
{
    const QString out = program.path("out.mmf");
    cExport().ExportMealMaster(out);
    EXPECT_EQ(readBytes(out), readBytes(QString(TQ_SOURCE_DIR) + "/tests/exchange/data/mealmaster-export.mmf"));
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(MealMasterExport, RoundTrip)
{
    const QString out = program.path("out.mmf");
    cExport().ExportMealMaster(out);
    program.createCookbook("Empty");
    EXPECT_TRUE(importer.ImportMealMaster(out));
    EXPECT_EQ(counters(), (QList<qint32>{4, 4, 0}));
    // What comes back: the title proper-cased, the author replaced, and the writer's separator (and author
    // lines) at the end of the instructions. A recipe without ingredients has its first instruction line
    // read as its ingredients: the format has nothing to tell them apart.
    const QList<QStringList> expected = {
        {"Mum$$s Pie", "Dessert,Pies", "6 servings", "1 cup flour\r\n2 tb butter\r\n1 pn salt",
         "Mix it all.\r\n\r\nBake at 200 for 1$$2 hour.\r\n \r\nJane O$$Brien\r\n "},
        {"Plain Soup", "Soups", "", "1 l water", "Boil.\r\n "},
        {QString::fromUtf8("Café Crème"), "Drinks", "2", QString::fromUtf8("Brew Ω."), ""},
        {"Old Bread", "Bread$$s", "1 lo$$f", "3 c flour", "Knead.\r\n "},
    };
    const QList<QVariantMap> rows = recipes();
    ASSERT_EQ(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList got = {rows[i]["TITLE"].toString(), rows[i]["CATEGORY"].toString(),
                                 rows[i]["YIELD"].toString(), rows[i]["INGREDIENTS"].toString(),
                                 rows[i]["INSTRUCTIONS"].toString()};
        EXPECT_EQ(got, expected[i]);
        EXPECT_EQ(rows[i]["AUTHOR"].toString(), "Not known");
    }
}

// What other programs refuse or misread: a stored tab becomes blanks to the next multiple of 8 (columns
// counted on the written line), and a lone U+FFFD is written as "?" so the file stays in its code page.
TEST_F(MealMasterExport, TabsAndLostLettersAreWrittenForOtherPrograms)
{
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=0").exec();
    db::Query q(basDatabase::cnCookbook, "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, YIELD, INGREDIENTS, "
                                         "INSTRUCTIONS, MARK) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 1)");
    q.bind(1, QString::fromUtf8("Caf\u00e9\tNoir"));
    q.bind(2, "Me");
    q.bind(3, "Drinks");
    q.bind(4, "2");
    q.bind(5, "1\tcup\tflour\r\n\t\t\r\n12345678\tsalt");
    q.bind(6, QString::fromUtf8("Stir\tgently.\r\n\tWait \ufffd minute."));
    q.exec();

    const QString out = program.path("tabs.mmf");
    cExport().ExportMealMaster(out);
    const QByteArray bytes = readBytes(out);
    EXPECT_FALSE(bytes.contains('\t'));
    EXPECT_TRUE(bytes.contains("      Title: Caf\xe9       Noir\r\n")) << "Windows-1252, not UTF-8";
    EXPECT_TRUE(bytes.contains("\r\n1       cup     flour\r\n12345678        salt\r\n")) << "a line of tabs is dropped";
    EXPECT_TRUE(bytes.contains("\r\nStir    gently.\r\n        Wait ? minute.\r\n"));

    // And it reads back as ordinary text.
    program.createCookbook("Back");
    EXPECT_TRUE(importer.ImportMealMaster(out));
    const QList<QVariantMap> rows = recipes();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0]["INGREDIENTS"].toString(), "1       cup     flour\r\n12345678        salt");
}

// Real files written by other programs: each imports without error, one recipe per header line.
TEST_F(MealMasterTest, RealWorldFiles)
{
    const QString folder = QString(TQ_SOURCE_DIR) + "/../shared/corpus/mealmaster";
    if (!QDir(folder).exists())
        GTEST_SKIP() << "no corpus at " << folder.toStdString();
    int files = 0;
    QDirIterator it(folder, {"*.mmf"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        qint32 headers = 0;
        for (const QByteArray& line : readBytes(path).split('\n'))
            headers += line.contains("Meal-Master") && line.contains("-----");
        program.createCookbook(QString("corpus%1").arg(++files));
        EXPECT_TRUE(importer.ImportMealMaster(path));
        EXPECT_EQ(basMain::lRecipesFound, headers);
        EXPECT_EQ(basMain::lRecipesImported + basMain::lRecipesSkipped, headers);
        EXPECT_EQ(recipes().size(), basMain::lRecipesImported);
    }
    EXPECT_GE(files, 60);
}

} // namespace
