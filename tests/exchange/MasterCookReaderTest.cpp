// The MasterCook reader: fields, counters, failures, cancel, bad files and real-world files.
#include "MasterCookSupport.h"
#include "exchange/FormatDetection.h"

#include <QDir>
#include <QRegularExpression>

using namespace mastercook_test;

namespace {

const QString kColumns = "  Amount  Measure       Ingredient -- Preparation Method";
const QString kRule = "--------  ------------  --------------------------------";
const QString kEndRule = "- - - - - - - - - - - - - - - - - - ";

// A recipe in the layout every MasterCook version writes.
QStringList recipe(const QString& title, const QString& author = "Tester", const QString& ingredient = "1 cup flour")
{
    return {"*  Exported from  MasterCook  *", "", title, "", "Recipe By     : " + author,
            "Serving Size  : 4     Preparation Time :0:30", "Categories    : Baking", "", kColumns, kRule,
            ingredient, "", "Mix.", "", kEndRule, ""};
}

class MasterCookReader : public Fixture {};

TEST(MasterCookStartLine, RecognisesEveryVariantOfTheMarker)
{
    const struct {
        const char* line;
        bool starts;
    } cases[] = {
        {"                     *  Exported from  MasterCook  *", true},
        {"* Exported from MasterCook *", true},
        {"*  Exported from  MasterCook II  *", true},
        {"*  Exported from  MasterCook Mac  *", true},
        {"Exported   from MasterCook", true},
        {"* exported from mastercook *", false},
        {"* Exported from\tMasterCook *", false},
        {"* Exported fromMasterCook *", false},
        {"MMMMM----- Recipe via Meal-Master (tm) v8.06", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsMasterCookStartLine(c.line), c.starts) << c.line;
}

TEST_F(MasterCookReader, TakesEveryFieldAsLaidOut)
{
    const QString path = writeLines(
        "fields.mxp",
        {"From: a mailing list", "Subject: four recipes", "",
         // A MasterCook II export: columns of categories with a continuation line, "--" notes, every
         // instruction paragraph up to the end rule.
         "                     *  Exported from  MasterCook II  *", "", "                         mom's meat loaf",
         "", "Recipe By     : Aunt Jo's Cookbook", "Serving Size  : 6     Preparation Time :1:15",
         "Categories    : Main Dish                        Beef", "                Family Favorites", "",
         kColumns, kRule, "   2      pounds        ground beef", "   1      cup           bread crumbs -- dry",
         "   1      large         onion -- finely chopped", "", "  Mix everything and shape into a loaf.",
         "Bake for one hour.  ", "", "Let rest before slicing.", "", "Nutr. Assoc. : 0 0 0", "",
         "                   " + kEndRule, "",
         // No "Recipe By" line, tabs between categories, a time holding a blank, instructions ended by the
         // next recipe.
         "* Exported from MasterCook *", "", "Quick Salad", "", "Serving Size  : 2    Preparation Time :1 hour",
         "Categories    : Salads\tVegetarian", "", kColumns, kRule, "   1      head          lettuce", "", "",
         "Toss.",
         // The tail our own writer adds (author again, calories), blanks after the time, an empty first
         // categories line.
         "*  Exported from  MasterCook Mac  *", "", "Onion Soup", "", "Recipe By     : Chef Ann",
         "Serving Size  : 4     Preperation Time :0:45   ", "Categories    : ", "                Soups", " ",
         kColumns, kRule, "4 onions", " ", "Simmer.", " ", "Chef Ann", " ", "250 calories per serving", kEndRule,
         " ",
         // Empty labels, no instructions, the file ends after the ingredients' blank line.
         "*  Exported from  MasterCook  *", "", "Water", "", "Recipe By     :",
         "Serving Size  : 1     Preparation Time :", "Categories    : Drinks", "", kColumns, kRule,
         "1 glass water", ""});

    EXPECT_TRUE(importer.ImportMasterCook(path));
    EXPECT_EQ(counters(), (Counters{4, 4, 0}));
    const QList<Row> expected = {
        {"Mom$$s Meat Loaf", "Aunt Jo$$s Cookbook", "1:15", "Main Dish,Beef,Family Favorites", "6",
         "2 pounds ground beef\r\n1 cup bread crumbs dry\r\n1 large onion finely chopped\r\n",
         "Mix everything and shape into a loaf.\r\nBake for one hour.\r\n\r\nLet rest before slicing.\r\n\r\n"
         "Nutr. Assoc. : 0 0 0\r\n"},
        {"Quick Salad", "", "1 hour", "Salads,Vegetarian", "2", "1 head lettuce\r\n", "Toss.\r\n"},
        {"Onion Soup", "Chef Ann", "0:45", "Soups", "4", "4 onions\r\n", "Simmer.\r\n"},
        {"Water", "", "", "Drinks", "1", "1 glass water\r\n", ""},
    };
    EXPECT_EQ(storedRows(), expected);
    EXPECT_GE(yields, 4);
}

TEST_F(MasterCookReader, SkipsTitlesAlreadyStoredWhateverTheirCase)
{
    ScratchProgram::addRecipe("Apple Crumble");
    QStringList lines = recipe("Lemon Tart", "First");
    lines << recipe("LEMON TART", "Second") << recipe("apple crumble") << recipe("Mum's Pie", "Third");
    QList<Counters> events;
    QObject::connect(&importer, &cImport::Processing,
                     [&](qint32 f, qint32 i, qint32 s) { events << Counters{f, i, s}; });

    EXPECT_TRUE(importer.ImportMasterCook(writeLines("dupes.mxp", lines)));

    EXPECT_EQ(events, (QList<Counters>{{1, 0, 0}, {1, 1, 0}, {2, 1, 0}, {2, 1, 1}, {3, 1, 1}, {3, 1, 2},
                                       {4, 1, 2}, {4, 2, 2}}));
    const QList<Row> rows = storedRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].title, "Lemon Tart");
    EXPECT_EQ(rows[1].author, "First");
    EXPECT_EQ(rows[2].title, "Mum$$s Pie");
    EXPECT_EQ(rows[2].author, "Third");
}

TEST_F(MasterCookReader, ConfinesFailuresToTheirRecipe)
{
    const QString longAuthor(51, 'a');
    const struct {
        const char* name;
        QStringList lines;
        bool result;
        Counters counts;
        QStringList titles;
    } cases[] = {
        // An author longer than its column is fitted to it.
        {"long value", recipe("Too Long", longAuthor) + recipe("Next One"), true, {2, 2, 0}, {"Too Long", "Next One"}},
        // A start line where the title should be.
        {"no title", QStringList{"* Exported from MasterCook *", ""} + recipe("Next One"), false, {2, 1, 1},
         {"Next One"}},
        // The file ends inside the ingredients or right after a start line.
        {"ends in ingredients", recipe("Kept") + recipe("Lost").mid(0, 11), false, {2, 1, 0}, {"Kept"}},
        {"ends after start", recipe("Kept") + QStringList{"* Exported from MasterCook *"}, false, {2, 1, 0},
         {"Kept"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        basDatabase::cnCookbook.exec("DELETE FROM RECIPES");
        EXPECT_EQ(importer.ImportMasterCook(writeLines("broken.mxp", c.lines)), c.result);
        EXPECT_EQ(counters(), c.counts);
        QStringList titles;
        for (const Row& r : storedRows())
            titles << r.title;
        EXPECT_EQ(titles, c.titles);
    }
}

TEST_F(MasterCookReader, KeepsWhatWasReadOfARecipeCutShort)
{
    // The next recipe starts before the column rule: nothing is merged, nothing read is lost.
    QStringList lines = recipe("Half Done", "Somebody").mid(0, 7);
    lines << recipe("Next One");
    EXPECT_TRUE(importer.ImportMasterCook(writeLines("cut.mxp", lines)));
    EXPECT_EQ(counters(), (Counters{2, 2, 0}));
    const QList<Row> rows = storedRows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (Row{"Half Done", "Somebody", "0:30", "Baking", "4", "", ""}));
    EXPECT_EQ(rows[1].ingredients, "1 cup flour\r\n");
}

TEST_F(MasterCookReader, CancelStopsBeforeTheNextScanningLine)
{
    // The user clicks Cancel while the first recipe is handled; the click arrives at the next yield.
    cImport::setYieldHook([] {
        if (basMain::lRecipesImported >= 1)
            basMain::bCancelImport = true;
    });
    QStringList ended = recipe("One");
    QStringList lines = ended.mid(0, 13); // the next start line ends the first recipe
    lines << recipe("Two") << recipe("Three");
    EXPECT_TRUE(importer.ImportMasterCook(writeLines("cancel.mxp", lines)));
    EXPECT_EQ(counters(), (Counters{1, 1, 0}));

    // Cancelled from the Processing event, with the recipe ended by its end rule.
    basMain::bCancelImport = false;
    basDatabase::cnCookbook.exec("DELETE FROM RECIPES");
    cImport::setYieldHook({});
    QObject::connect(&importer, &cImport::Processing, [](qint32, qint32 imported, qint32) {
        if (imported == 2)
            basMain::bCancelImport = true;
    });
    EXPECT_TRUE(importer.ImportMasterCook(writeLines("cancel2.mxp", recipe("One") + recipe("Two") + recipe("Three"))));
    EXPECT_EQ(counters(), (Counters{2, 2, 0}));
}

// A recipe's lines up to its ingredients, then the given lines.
QStringList recipeWith(const QString& title, const QStringList& rest, const QString& author = "Jo Cook")
{
    return QStringList{"*  Exported from  MasterCook  *", "", title, "", "Recipe By     : " + author,
                       "Serving Size  : 4     Preparation Time :0:30", "Categories    : Baking", "", kColumns,
                       kRule} +
           rest;
}

struct TextCase {
    const char* name;
    QStringList lines; // from the first ingredient line on
    QString ingredients, instructions;
};

class MasterCookText : public MasterCookReader {
protected:
    void expectRead(const TextCase (&cases)[], size_t count)
    {
        for (size_t i = 0; i < count; ++i) {
            const TextCase& c = cases[i];
            SCOPED_TRACE(c.name);
            basDatabase::cnCookbook.exec("DELETE FROM RECIPES");
            EXPECT_TRUE(importer.ImportMasterCook(writeLines("text.mxp", recipeWith("Pie", c.lines))));
            const QList<Row> rows = storedRows();
            ASSERT_EQ(rows.size(), 1);
            EXPECT_EQ(rows[0].author, "Jo Cook");
            EXPECT_EQ(rows[0].ingredients, c.ingredients);
            EXPECT_EQ(rows[0].instructions, c.instructions);
        }
    }
};

const QString kIndentedEndRule = "                   " + kEndRule;

TEST_F(MasterCookText, ALastLineEqualToTheAuthorIsDroppedOnlyInOurWritersLayout)
{
    const TextCase cases[] = {
        {"a signature in a real file", {"1 egg", "", "Mix.", "", "Jo Cook", "", kIndentedEndRule, ""},
         "1 egg\r\n", "Mix.\r\n\r\nJo Cook\r\n"},
        {"a signature right above the end rule", {"1 egg", "", "Mix.", "Jo Cook", kEndRule}, "1 egg\r\n",
         "Mix.\r\nJo Cook\r\n"},
        {"our writer's author and calories", {"1 egg", " ", "Mix.", " ", "Jo Cook", " ", "250 calories per serving",
                                              kEndRule, " "},
         "1 egg\r\n", "Mix.\r\n"},
        {"a signature above our writer's author",
         {"1 egg", " ", "Mix.", "Jo Cook", " ", "Jo Cook", " ", kEndRule, " "}, "1 egg\r\n", "Mix.\r\nJo Cook\r\n"},
        {"calories as the recipe's own last line", {"1 egg", "", "Mix.", "", "250 calories per serving", "",
                                                   kIndentedEndRule},
         "1 egg\r\n", "Mix.\r\n\r\n250 calories per serving\r\n"},
    };
    expectRead(cases, std::size(cases));
}

TEST_F(MasterCookText, AnEndRuleEndsTheNotesToo)
{
    const TextCase cases[] = {
        {"a second rule after the notes",
         {"1 egg", "", "Mix.", "", kIndentedEndRule, "", "NOTES : Keeps a week.", "", kIndentedEndRule, "",
          "Jo Cook"},
         "1 egg\r\n", "Mix.\r\n\r\nNOTES : Keeps a week.\r\n"},
        {"a rule with a doubled dash", {"1 egg", "", "Mix.", "", "   - - -- - - - -", "Serve warm.", "",
                                        "- - - -- - - -", "Jo Cook"},
         "1 egg\r\n", "Mix.\r\n\r\nServe warm.\r\n"},
    };
    expectRead(cases, std::size(cases));
}

TEST_F(MasterCookText, TheNumbersANutrientLineWrapsOntoAreLeftOutWithIt)
{
    const TextCase cases[] = {
        {"wrapped numbers", {"1 egg", "", "Mix.", "", kIndentedEndRule, "", "Nutr. Assoc. : 0 0 0 0 0 0 0 0",
                             "0 0 0 1234 0", "", "NOTES : 1 2 3 go."},
         "1 egg\r\n", "Mix.\r\n\r\nNOTES : 1 2 3 go.\r\n"},
        {"numbers of a note are kept", {"1 egg", "", "Mix.", "", kIndentedEndRule, "", "Oven at", "200", "",
                                        "Nutr. Assoc. : 0 0", "", "12"},
         "1 egg\r\n", "Mix.\r\n\r\nOven at\r\n200\r\n\r\n12\r\n"},
    };
    expectRead(cases, std::size(cases));
}

TEST_F(MasterCookText, NoteParagraphsKeepOneBlankLineBetweenThem)
{
    const TextCase cases[] = {
        {"paragraphs", {"1 egg", "", "Mix.", "", kIndentedEndRule, "", "", "NOTES : First paragraph,", "  still first.",
                        "", "", "", "Second paragraph.", "", "Third.", "", ""},
         "1 egg\r\n", "Mix.\r\n\r\nNOTES : First paragraph,\r\nstill first.\r\n\r\nSecond paragraph.\r\n\r\nThird.\r\n"},
    };
    expectRead(cases, std::size(cases));
}

TEST_F(MasterCookText, ALineOfTabsIsBlank)
{
    const TextCase cases[] = {
        {"tabs end the ingredients", {"1 egg", "2 cups milk", "\t\t", "", "Whisk."}, "1 egg\r\n2 cups milk\r\n",
         "Whisk.\r\n"},
        {"blanks and tabs", {"1 egg", " \t \t ", "Whisk.", "\t", "Serve."}, "1 egg\r\n", "Whisk.\r\n\r\nServe.\r\n"},
    };
    expectRead(cases, std::size(cases));
}

TEST_F(MasterCookReader, BadFilesEndCleanly)
{
    QByteArray binary;
    for (int i = 0; i < 200000; ++i)
        binary.append(static_cast<char>((i * 7919) % 256));
    QByteArray huge("*  Exported from  MasterCook  *\r\n\r\nHuge\r\n");
    huge.append(QByteArray(3 << 20, 'x')); // one 3 MB line where the author should be, then the end
    const struct {
        const char* name;
        QString path;
        bool result;
        qint32 found;
    } cases[] = {
        {"empty", writeFile("empty.mxp", {}), true, 0},
        {"binary", writeFile("binary.mxp", binary), true, 0},
        {"huge line, then the end", writeFile("huge.mxp", huge), false, 1},
        {"missing", program.path("temp/missing.mxp"), false, 0},
        {"folder", program.path("temp"), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        basMain::lRecipesFound = 99;
        EXPECT_EQ(importer.ImportMasterCook(c.path), c.result);
        EXPECT_EQ(counters(), (Counters{c.found, 0, 0}));
    }
    EXPECT_TRUE(storedRows().isEmpty());
}

TEST_F(MasterCookReader, ImportsRealWorldFiles)
{
    const QDir corpus(QString(TQ_SOURCE_DIR) + "/../shared/corpus/mastercook");
    if (!corpus.exists())
        GTEST_SKIP() << "no corpus at " << corpus.path().toStdString();
    const QRegularExpression header("Exported +from +MasterCook");
    for (const QString& name : corpus.entryList(QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        basDatabase::cnCookbook.exec("DELETE FROM RECIPES");
        int headers = 0;
        for (const QByteArray& line : readBytes(corpus.filePath(name)).split('\n'))
            headers += header.match(QString::fromLatin1(line)).hasMatch() ? 1 : 0;
        ASSERT_GT(headers, 0);

        EXPECT_TRUE(importer.ImportMasterCook(corpus.filePath(name)));
        const Counters c = counters();
        EXPECT_EQ(c.found, headers);
        EXPECT_EQ(c.imported + c.skipped, headers);
        EXPECT_EQ(storedRows().size(), c.imported);
        for (const Row& r : storedRows()) {
            EXPECT_FALSE(r.title.isEmpty());
            EXPECT_FALSE(r.ingredients.isEmpty()) << r.title.toStdString();
            EXPECT_FALSE(r.instructions.isEmpty()) << r.title.toStdString();
            // Every line kept with its CR LF, none of them empty; header values whole.
            EXPECT_TRUE(r.ingredients.endsWith("\r\n") && !r.ingredients.contains("\r\n\r\n")) << r.title.toStdString();
            EXPECT_TRUE(r.instructions.endsWith("\r\n")) << r.title.toStdString();
            EXPECT_FALSE(r.instructions.contains("Nutr. Assoc.") && name.startsWith("gourmet"));
            if (name.startsWith("krecipes"))
                EXPECT_EQ(r.author, "Mona Beamer, Colleen Beamer");
        }
    }
}

} // namespace
