// The frame every reader and writer runs in: counters, events, the transaction, the yield, the text helpers.
#include "ImportFixture.h"

#include "core/basDatabase.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/cExport.h"

#include <QTimer>
#include <sqlite3.h>

namespace {

TEST(ExchangeText, RemoveDoubleSpacesAndColumnsToList)
{
    struct Case { QString in, single, list; };
    const Case cases[] = {
        {"1  cup   flour", "1 cup flour", "1,cup,flour"},
        {"Main Dish        Beef", "Main Dish Beef", "Main Dish,Beef"},
        {"  Soups   Quick Meals  ", " Soups Quick Meals ", "Soups,Quick Meals"},
        {"a\t\tb  c", "a\t\tb c", "a\t\tb,c"},
        {"", "", ""},
        {"     ", " ", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cImport::RemoveDoubleSpaces(c.in), c.single) << c.in.toStdString();
        EXPECT_EQ(cImport::ColumnsToList(c.in), c.list) << c.in.toStdString();
    }
}

TEST(ExchangeYield, ThrottleLetsOneCallThroughPerInterval)
{
    qint64 now = 1000;
    Throttle throttle(50, [&now] { return now; });
    QList<bool> passed;
    for (qint64 t : {1000, 1010, 1049, 1050, 1060, 1099, 1100, 5000}) {
        now = t;
        passed << throttle.ready();
    }
    EXPECT_EQ(passed, (QList<bool>{true, false, false, true, false, false, true, true}));
}

TEST(ExchangeYield, DefaultHookRunsPendingEventsAndCanBeReplaced)
{
    int replaced = 0;
    const cImport::YieldHook original = cImport::setYieldHook([&replaced] { ++replaced; });
    cImport::yieldToEventLoop();
    EXPECT_EQ(replaced, 1);

    cImport::setYieldHook(cImport::defaultYieldHook()); // a fresh throttle, whatever ran before
    bool delivered = false;
    QTimer::singleShot(0, [&delivered] { delivered = true; });
    cImport::yieldToEventLoop(); // the first call through a fresh throttle always runs the loop
    EXPECT_TRUE(delivered);
    EXPECT_EQ(replaced, 1);
    cImport::setYieldHook(original);
}

class FrameTest : public ImportFixture {
protected:
    static RecipeColumns recipe(const QString& title, const QString& yield = "4")
    {
        return {{"TITLE", title}, {"AUTHOR", "Me"}, {"CATEGORY", "Soup"}, {"YIELD", yield},
                {"INSTRUCTIONS", "Stir."}, {"INGREDIENTS", "1 l water"}};
    }
    // Titles as a second connection sees them: only what was committed.
    QStringList committedTitles() const
    {
        db::Connection other;
        other.open(basDatabase::cnCookbook.path());
        db::Query q(other, "SELECT TITLE FROM RECIPES ORDER BY ID");
        QStringList titles;
        while (q.next())
            titles << q.text("TITLE");
        return titles;
    }
    static bool insideTransaction() { return !sqlite3_get_autocommit(basDatabase::cnCookbook.handle()); }
};

TEST_F(FrameTest, RefusedRecipeIsSkippedAndTheRunGoesOnButFails)
{
    const QString file = writeFile("in.txt", "x\r\n");
    QList<QList<qint32>> processing;
    QObject::connect(&importer, &cImport::Processing,
                     [&](qint32 f, qint32 i, qint32 s) { processing.append({f, i, s}); });
    {
        TextImportRun run(importer, file);
        EXPECT_TRUE(insideTransaction());
        run.recipeFound();
        EXPECT_TRUE(run.insertRecipe(recipe("Soup")));
        run.recipeFound();
        RecipeColumns stew = recipe("Stew");
        stew[2].second = QVariant(); // a Null category: the cookbook refuses it
        EXPECT_FALSE(run.insertRecipe(stew));
        run.recipeFound();
        EXPECT_TRUE(run.titleExists("SOUP")); // stored within this run
        EXPECT_FALSE(run.titleExists("Stew"));
        EXPECT_TRUE(run.insertRecipe(recipe("Broth", QString(60, '9')))); // fitted to its column
        EXPECT_TRUE(run.titleExists("broth"));
        EXPECT_FALSE(run.finish());
    }
    EXPECT_EQ(counters(), (QList<qint32>{3, 2, 1}));
    ASSERT_EQ(processing.size(), 6);
    EXPECT_EQ(processing.at(3), (QList<qint32>{2, 1, 1}));
    EXPECT_FALSE(insideTransaction());
    EXPECT_EQ(committedTitles(), (QStringList{"Soup", "Broth"}));
}

TEST_F(FrameTest, EveryWayOutCommitsAndStartsFromZeroedCounters)
{
    basMain::lRecipesFound = 7;
    basMain::lRecipesSkipped = 7;
    const QString file = writeFile("in.txt", "one line\r\n");
    try {
        TextImportRun run(importer, file);
        EXPECT_EQ(counters(), (QList<qint32>{0, 0, 0}));
        run.insertRecipe(recipe("Kept"));
        run.in().readLine();
        run.in().readLine(); // past the end
        ADD_FAILURE() << "reading past the end did not raise";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 62);
    }
    EXPECT_FALSE(insideTransaction());
    EXPECT_EQ(committedTitles(), QStringList{"Kept"});

    {
        TextImportRun run(importer, file);
        basMain::bCancelImport = true;
        EXPECT_FALSE(run.scanning());
        run.insertRecipe(recipe("Also kept"));
    }
    EXPECT_EQ(committedTitles(), (QStringList{"Kept", "Also kept"}));

    EXPECT_THROW(TextImportRun(importer, program.path("missing.txt")), AppError);
    EXPECT_FALSE(insideTransaction());
}

TEST_F(FrameTest, ReadersFailWithoutAnOpenCookbookOrFile)
{
    const QString file = writeFile("in.txt", "MMMMM----- Recipe via Meal-Master\r\n");
    EXPECT_FALSE(importer.ImportMealMaster(program.path("missing.mmf")));
    basDatabase::cnCookbook.close();
    basMain::lRecipesFound = 5;
    EXPECT_FALSE(importer.ImportMealMaster(file));
    EXPECT_EQ(counters(), (QList<qint32>{0, 0, 0}));
}

TEST_F(FrameTest, ExportRaisesExportedPerRecipeAndEmptiesTheFile)
{
    cExport exporter;
    QList<qint32> exported;
    QObject::connect(&exporter, &cExport::Exported, [&](qint32 count) { exported << count; });
    const QString out = writeFile("out.mmf", "old content");
    exporter.ExportMealMaster(out);
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_TRUE(readBytes(out).isEmpty());
    EXPECT_TRUE(exported.isEmpty());

    for (const char* title : {"A", "B", "C"})
        ScratchProgram::addRecipe(title);
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1 WHERE TITLE<>'B'").exec();
    exporter.ExportMealMaster(out);
    EXPECT_EQ(exported, (QList<qint32>{1, 2}));
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(FrameTest, ExportErrorIsLoggedUnderTheWritersName)
{
    ScratchProgram::addRecipe("A");
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1").exec();
    cExport exporter;
    exporter.ExportMealMaster(program.path("no such folder/out.mmf"));
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module ExportTovalquendry"));
    EXPECT_TRUE(program.errorLog().contains("(75)"));
}

} // namespace
