// Compu-Chef import: the fields taken from each part of a recipe, the counters, skipped and failed
// recipes, cancel, and files that are cut off, empty or not text at all.
#include "tests/exchange/CompuChefTestSupport.h"
#include "tests/support/ScratchProgram.h"
#include "tests/support/UiRecorder.h"

#include "core/basMain.h"
#include "exchange/cImport.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using namespace compuchef_test;

// Text lines joined with CR LF, one after the last too.
QByteArray crlf(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* line : lines)
        out += QByteArray(line) + "\r\n";
    return out;
}

const char* const kRule = "INGREDIENTS -------------------------------------------------------";
const char* const kDirections = "DIRECTIONS  -------------------------------------------------------";
const char* const kTrailer = "*** Recipe Via Compu-Chef (tm) ***";

// A well-formed recipe with the given title, for files that need several.
QByteArray recipe(const char* title, const char* ingredient = "1 cup water")
{
    return crlf({"********************", (QByteArray("****** ") + title + " ******").constData(),
                 "********************", " ", "Categories: Test", " ",
                 "Calories     per serving: 10\t          Number of Servings: 1",
                 "Fat grams    per serving: \tApprox. Cook Time: 0:05", "Cholesterol  per serving: \tMarks: ", " ",
                 kRule, " ", ingredient, " ", kDirections, " ", "Boil it.", " ", kTrailer, " "});
}

class CompuChefReader : public ::testing::Test {
protected:
    void SetUp() override { program.createCookbook("Import"); }
    void TearDown() override { basMain::bCancelImport = false; }

    QString file(const QByteArray& bytes, const QString& name = "in.txt")
    {
        const QString path = program.path(name);
        writeBytes(path, bytes);
        return path;
    }

    bool import(const QString& path)
    {
        QObject::connect(&importer, &cImport::Processing, [this](qint32 found, qint32 imported, qint32 skipped) {
            events << QList<qint32>{found, imported, skipped};
        });
        return importer.ImportCompuChef(path);
    }

    void expectCounters(qint32 found, qint32 imported, qint32 skipped)
    {
        EXPECT_EQ(basMain::lRecipesFound, found);
        EXPECT_EQ(basMain::lRecipesImported, imported);
        EXPECT_EQ(basMain::lRecipesSkipped, skipped);
    }

    ScratchProgram program;
    cImport importer;
    QList<QList<qint32>> events;
};

struct Fields {
    const char* title;
    const char* category;
    const char* calories;
    const char* yield;
    const char* totalTime;
    const char* ingredients;
    const char* instructions;
};

void expectRow(const Fields& f)
{
    SCOPED_TRACE(f.title);
    const Row row = rowByTitle(QString::fromUtf8(f.title));
    ASSERT_FALSE(row.empty()) << "not stored";
    EXPECT_EQ(row.at("CATEGORY"), f.category);
    EXPECT_EQ(row.at("CALORIESPERSERVING"), f.calories);
    EXPECT_EQ(row.at("YIELD"), f.yield);
    EXPECT_EQ(row.at("TOTALTIME"), f.totalTime);
    EXPECT_EQ(row.at("INGREDIENTS"), f.ingredients);
    EXPECT_EQ(row.at("INSTRUCTIONS"), f.instructions);
    EXPECT_EQ(row.at("AUTHOR"), "Not Known");
    EXPECT_EQ(row.at("PREPTIME"), "<null>");
    EXPECT_EQ(row.at("MARK"), "0");
}

TEST_F(CompuChefReader, ReadsAHandWrittenFile)
{
    EXPECT_TRUE(import(QString(TQ_SOURCE_DIR) + "/tests/exchange/data/compuchef-sample.txt"));
    expectCounters(3, 3, 0);
    EXPECT_EQ(recipeCount(), 3);
    expectRow({"Beef Stroganoff", "Main,Dish,Beef,Russian", "345", "4", "0:45",
               "1 1/2 lb beef sirloin, cut in thin strips\r\n2 tbsp butter\r\n1 cup sour cream\r\n"
               "1 onion, chopped\r\n",
               "Brown the beef quickly in the butter; lift it out.\r\nSoften the onion in the same pan.\r\n\r\n"
               "Return the beef, stir in the sour cream and heat\r\nwithout boiling.  Serve over noodles.\r\n"});
    expectRow({"Grandma$$s Oatmeal Cookies", "Cookies,Desserts", "98", "48 cookies", "0:25",
               "1½ cups rolled oats\r\n1 cup flour\r\n½ cup butter, softened\r\n",
               "Cream the butter, add oats and flour.\r\n\r\nDrop by spoonfuls onto a baking sheet.\r\n\r\n"
               "Bake at 350° until golden.\r\n"});
    expectRow({"Crème Fraîche Dip", "Appetizers", "", "6", "", "1 cup crème fraîche\r\n1 tbsp chives\r\n",
               "Stir together and chill.\r\n"});
}

struct Case {
    const char* name;
    QByteArray file;
    Fields expected;
};

TEST_F(CompuChefReader, TakesEachFieldFromItsLine)
{
    const QByteArray nul("\0\0\0\0", 4);
    const auto nulPrefixed = [&](std::initializer_list<const char*> lines) {
        QByteArray out;
        for (const char* line : lines)
            out += nul + line + "\r\n";
        return out;
    };
    const Case cases[] = {
        {"lines prefixed with NULs, categories line right above the calories line, long calories value",
         nulPrefixed({"*****************", "****** pot roast ******", "*****************", " ",
                      "Categories: Beef Main", "Calories     per serving: 1234.5678\t   Number of Servings: 6 to 8",
                      "Fat grams    per serving: \t   Approx. Cook Time: 3:30", "Cholesterol  per serving: \tMarks: ",
                      " ", kRule, " ", "3  lb   chuck roast", "2 cups\tbroth", " ", kDirections, " ",
                      "Brown the roast.", "Braise slowly.", " ", kTrailer, " "}),
         {"Pot Roast", "Beef,Main", "1234.56", "6 to 8", "3:30", "3 lb chuck roast\r\n2 cups\tbroth\r\n",
          "Brown the roast.\r\nBraise slowly.\r\n"}},
        {"apostrophes everywhere, LF line ends",
         "*****\n****** mom's 'best' chili ******\n*****\n\nCategories: Mom's\n\n"
         "Calories per serving: 3'5    Servings: 4 o'clock\nFat per serving: 1   Cook Time: 1'00\n\n"
         "INGREDIENTS ---\n\n1 can o' beans\n\nDIRECTIONS  --\n\nDon't burn it.\n\n"
         "*** Recipe Via Compu-Chef (tm) ***\n",
         {"Mom$$s $$best$$ Chili", "Mom$$s", "3$$5", "4 o$$clock", "1$$00", "1 can o$$ beans\r\n",
          "Don$$t burn it.\r\n"}},
        {"detail lines with only one colon each",
         crlf({"*****", "****** Lentil Soup ******", "*****", "Categories: Soups", " ",
               "Calories     per serving:  120", "Fat grams    per serving:    3", " ", kRule, "1 cup lentils", " ",
               kDirections, "Simmer.", kTrailer}),
         {"Lentil Soup", "Soups", "120", "", "", "1 cup lentils\r\n", "Simmer.\r\n"}},
        {"no frame under the title, no detail lines and no blank lines around the rules",
         crlf({"*****", "****** Green Salad ******", "Categories: Salads", " ", kRule, "1 head lettuce",
               "1 tomato", kDirections, "Toss.", "", "Serve at once.", kTrailer}),
         {"Green Salad", "Salads", "", "", "", "1 head lettuce\r\n1 tomato\r\n", "Toss.\r\n\r\nServe at once.\r\n"}},
        {"categories over several lines, with commas and tabs",
         crlf({"*****", "****** Winter Stew ******", "*****", " ", "Categories: Soups, Stews",
               "            Winter\tHearty", " ", "Calories     per serving: 300\t          Number of Servings: 4",
               "Fat grams    per serving: \tApprox. Cook Time: 2:00", " ", kRule, " ", "1 lb beef", " ", kDirections,
               " ", "Stew it.", " ", kTrailer}),
         {"Winter Stew", "Soups,Stews,Winter,Hearty", "300", "4", "2:00", "1 lb beef\r\n", "Stew it.\r\n"}},
        {"a UTF-8 file",
         crlf({"*****", "****** Crème Brûlée ******", "*****", " ", "Categories: Desserts", " ", kRule, " ",
               "2 cups crème", " ", kDirections, " ", "Caramelise the sugar.", " ", kTrailer}),
         {"Crème Brûlée", "Desserts", "", "", "", "2 cups crème\r\n", "Caramelise the sugar.\r\n"}},
        {"ingredients in groups separated by blank lines",
         crlf({"*****", "****** Glazed Buns ******", "*****", "Categories: Breads", " ", kRule, " ", "2 cups flour",
               "1 pkg yeast", " ", "For the glaze:", "", "1 cup sugar", " ", " ", kDirections, " ", "Knead.", " ",
               kTrailer}),
         {"Glazed Buns", "Breads", "", "", "",
          "2 cups flour\r\n1 pkg yeast\r\n\r\nFor the glaze:\r\n\r\n1 cup sugar\r\n", "Knead.\r\n"}},
        {"a title with blanks inside the frame words",
         crlf({"*****", "   ******   two   words   ******", "*****", "Categories: X", " ", kRule, " ", "salt", " ",
               kDirections, " ", "Mix.", kTrailer}),
         {"  Two   Words  ", "X", "", "", "", "salt\r\n", "Mix.\r\n"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(import(file(c.file, QString("case%1.txt").arg(++n))));
        expectCounters(1, 1, 0);
        expectRow(c.expected);
        const Row row = rowByTitle(QString::fromUtf8(c.expected.title));
        for (const auto& [column, value] : row)
            EXPECT_EQ(value.find('\0'), std::string::npos) << column;
    }
}

TEST_F(CompuChefReader, SkipsKnownTitlesAndFailedRecipesAndReadsOn)
{
    ScratchProgram::addRecipe("Apple Pie");
    const QByteArray longYield(60, '9');
    const QByteArray bytes =
        // already stored (letter case differs): passed over up to the next start, as its trailer is missing
        crlf({"*****", "****** APPLE PIE ******", "*****", "Categories: Pies", " ", kRule, "apples", " ", kDirections,
              "**********", "****** Hidden ******", "**********", kTrailer}) +
        // a title line without the blanks around the title
        crlf({"*****", "******NoTitle******", "*****", "Categories: X", kTrailer}) +
        // no ingredients rule: the next recipe's ingredients are not taken
        crlf({"*****", "****** Onion Soup ******", "*****", "Categories: Soups", " ", kDirections, " ",
              "Slice the onions.", " ", kTrailer}) +
        recipe("Bread", "4 cups flour") +
        // a yield longer than the cookbook allows: fitted to its column
        crlf({"*****", "****** Too Big ******", "*****", "Categories: X", " ",
              ("Calories per serving: 1  Servings: " + longYield).constData(), "x", kRule, "a", " ", kDirections,
              "b", kTrailer}) +
        recipe("Cake", "2 eggs") +
        // the same title again in the same file
        recipe("BREAD", "1 stone");

    EXPECT_FALSE(import(file(bytes)));
    expectCounters(8, 5, 3);
    EXPECT_EQ(recipeCount(), 6);
    EXPECT_FALSE(rowByTitle("Hidden").empty());
    EXPECT_EQ(rowByTitle("Too Big").at("YIELD"), std::string(50, '9'));
    expectRow({"Onion Soup", "Soups", "", "", "", "", "Slice the onions.\r\n"});
    expectRow({"Bread", "Test", "10", "1", "0:05", "4 cups flour\r\n", "Boil it.\r\n"});
    EXPECT_EQ(rowByTitle("Cake").at("INGREDIENTS"), "2 eggs\r\n");

    // Processing after every recipe start and after every skip or insert, with the running counts.
    const QList<QList<qint32>> expected{{1, 0, 0}, {1, 0, 1}, {2, 0, 1}, {2, 1, 1}, {3, 1, 1}, {3, 1, 2},
                                        {4, 1, 2}, {4, 2, 2}, {5, 2, 2}, {5, 3, 2}, {6, 3, 2}, {6, 4, 2},
                                        {7, 4, 2}, {7, 5, 2}, {8, 5, 2}, {8, 5, 3}};
    EXPECT_EQ(events, expected);
}

TEST_F(CompuChefReader, FileCutOffInsideARecipeEndsWithFalse)
{
    const QByteArray whole = recipe("Second", "1 cup rice");
    // A recipe cut off once its directions were reached is kept; one cut off earlier is not.
    const struct {
        const char* name;
        QByteArray tail;
        qint32 imported, skipped;
    } cases[] = {
        {"after the title", "*****\r\n****** Second ******\r\n", 1, 0},
        {"inside the categories", whole.left(whole.indexOf("Categories: Test") + 16), 1, 0},
        {"inside the ingredients", whole.left(whole.indexOf("1 cup rice") + 12), 1, 0},
        {"before the trailer", whole.left(whole.indexOf("Boil it.") + 10), 2, 0},
        {"in a recipe already stored", "*****\r\n****** first ******\r\n*****\r\nCategories: X\r\n", 1, 1},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        program.createCookbook(QString("Cut%1").arg(++n));
        EXPECT_FALSE(import(file(recipe("First") + c.tail, QString("cut%1.txt").arg(n))));
        expectCounters(2, c.imported, c.skipped);
        EXPECT_EQ(recipeCount(), c.imported);
        EXPECT_FALSE(rowByTitle("First").empty());
        if (c.imported == 2)
            EXPECT_EQ(rowByTitle("Second").at("INSTRUCTIONS"), "Boil it.\r\n");
    }

    // A lone line of asterisks at the end starts nothing.
    program.createCookbook("Cut0");
    EXPECT_TRUE(import(file(recipe("First") + "*****\r\n", "cut0.txt")));
    expectCounters(1, 1, 0);
}

TEST_F(CompuChefReader, ARecipeWithoutItsTrailerEndsAtTheNextStart)
{
    // Real files lose trailers; the next recipe is then read as itself, not swallowed into the one before.
    // A line of asterisks with text inside a recipe is text.
    QByteArray cut = recipe("No Trailer", "2 eggs");
    cut.truncate(cut.indexOf(kTrailer));
    const QByteArray bytes =
        crlf({"********************", "****** Noted ******", "********************", " ", "Categories: Misc",
              " ", kRule, " ", "1 pear", " ", kDirections, " ", "Eat it.", "***** note *****", "Fresh only.",
              " ", kTrailer}) +
        cut + recipe("After It", "1 cup rice");

    EXPECT_FALSE(import(file(bytes)));
    expectCounters(3, 3, 0);
    EXPECT_EQ(rowByTitle("Noted").at("INSTRUCTIONS"), "Eat it.\r\n***** note *****\r\nFresh only.\r\n");
    EXPECT_EQ(rowByTitle("No Trailer").at("INSTRUCTIONS"), "Boil it.\r\n");
    EXPECT_EQ(rowByTitle("After It").at("INGREDIENTS"), "1 cup rice\r\n");
}

TEST_F(CompuChefReader, ExtraLinesOfAsterisksAroundAFrameAreNoTitle)
{
    // A line of asterisks only is never a framed title, however long: the frame under it starts the recipe.
    UiRecorder recorder;
    const QByteArray stars = crlf({"********************"});
    const QByteArray bytes = stars + recipe("First") + stars + stars + recipe("Second") +
                             crlf({"*************", "*****************************"}) + recipe("Third");

    EXPECT_TRUE(import(file(bytes)));
    expectCounters(3, 3, 0);
    for (const char* title : {"First", "Second", "Third"})
        EXPECT_EQ(rowByTitle(title).at("INSTRUCTIONS"), "Boil it.\r\n") << title;
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(CompuChefReader, CategoriesSplitAtCommasOrTabsElseAtBlanks)
{
    const struct {
        const char* line;
        const char* stored;
    } cases[] = {
        {"Categories: German Soups,Desserts", "German Soups,Desserts"},
        {"Categories: Main Dish\tBeef", "Main Dish,Beef"},
        {"Categories: Desserts  Pies", "Desserts,Pies"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        program.createCookbook(QString("Cat%1").arg(++n));
        QByteArray one = recipe("Soup");
        one.replace("Categories: Test", c.line);
        EXPECT_TRUE(import(file(one, QString("cat%1.txt").arg(n))));
        EXPECT_EQ(rowByTitle("Soup").at("CATEGORY"), c.stored);
    }
}

TEST_F(CompuChefReader, EndsCleanlyOnFilesThatHoldNoRecipe)
{
    EXPECT_TRUE(import(file("", "empty.txt")));
    expectCounters(0, 0, 0);

    EXPECT_TRUE(import(file(crlf({"Just a letter.", "*** not a frame ***", kTrailer}), "letter.txt")));
    expectCounters(0, 0, 0);

    EXPECT_FALSE(import(program.path("missing.txt")));
    EXPECT_FALSE(import(program.path("data")));

    // Binary data: random bytes, then the same after a start line, and NUL bytes only.
    QRandomGenerator random(6106);
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    for (char& b : noise)
        b = static_cast<char>(random.bounded(256));
    noise.replace("*****", "****");
    EXPECT_TRUE(import(file(noise, "noise.bin")));
    expectCounters(0, 0, 0);
    EXPECT_FALSE(import(file("*****\r\n****** Noise ******\r\n" + noise, "framed-noise.bin")));
    EXPECT_EQ(basMain::lRecipesImported, 0);
    EXPECT_TRUE(import(file(QByteArray(100000, '\0'), "zeros.bin")));
    expectCounters(0, 0, 0);

    EXPECT_EQ(recipeCount(), 0);
}

TEST_F(CompuChefReader, CancelStopsBeforeTheNextScanningLine)
{
    const QString path = file(recipe("One") + recipe("Two") + recipe("Three"));
    QObject::connect(&importer, &cImport::Processing, [](qint32, qint32 imported, qint32) {
        if (imported == 1)
            basMain::bCancelImport = true;
    });
    EXPECT_TRUE(import(path));
    expectCounters(1, 1, 0);
    EXPECT_EQ(recipeCount(), 1);
}

TEST_F(CompuChefReader, YieldsWhileScanningSoCancelCanBeClicked)
{
    // Cancel clicked during the yield that follows the first recipe start: that recipe is finished,
    // nothing after it is read.
    const QString path = file(crlf({"header", "", "more"}) + recipe("One") + recipe("Two"));
    int yields = 0;
    const cImport::YieldHook previous = cImport::setYieldHook([&] {
        ++yields;
        if (basMain::lRecipesFound == 1)
            basMain::bCancelImport = true;
    });
    const bool result = import(path);
    cImport::setYieldHook(previous);
    EXPECT_TRUE(result);
    expectCounters(1, 1, 0);
    // Before each of the four lines read (three header lines and the start line), after the start, and
    // before the scanning test that sees the cancel.
    EXPECT_EQ(yields, 6);
}

} // namespace
