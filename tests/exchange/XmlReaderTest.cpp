// The XML reader: rows from this program's writer and from others, row-level faults, whole-file faults,
// counters and the Processing event, and the round trip through the writer.
#include "RecipeTextSamples.h"
#include "XmlTestSupport.h"

#include "core/basMain.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"
#include "support/ScratchProgram.h"
#include "support/UiRecorder.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace xmltest;

namespace {

using Event = std::tuple<qint32, qint32, qint32>;

// A rowset document holding the given rows, with an empty schema (the reader goes by attribute names).
QByteArray rowset(const QString& rows)
{
    return ("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
            "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
            "\txmlns:rs='urn:schemas-microsoft-com:rowset'\r\n"
            "\txmlns:z='#RowsetSchema'>\r\n"
            "<s:Schema id='RowsetSchema'/>\r\n<rs:data>\r\n"
            + rows + "</rs:data>\r\n</xml>\r\n")
        .toUtf8();
}

// A row with the required columns and the given title; `extra` adds or overrides attributes.
QString row(const QString& title, const QString& extra = {})
{
    return "<z:row Title='" + title + "' Category='Soups' Ingredients='salt' Instructions='Stir.' " + extra + "/>\r\n";
}

class XmlReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch.createCookbook("Target");
        QObject::connect(&importer, &cImport::Processing,
                         [this](qint32 f, qint32 i, qint32 s) { events << Event{f, i, s}; });
    }

    bool importDocument(const QByteArray& document)
    {
        writeBytes(scratch.path("in.xml"), document);
        return importer.ImportXML(scratch.path("in.xml"));
    }

    static Event counters() { return {basMain::lRecipesFound, basMain::lRecipesImported, basMain::lRecipesSkipped}; }

    ScratchProgram scratch;
    UiRecorder recorder;
    cImport importer;
    QList<Event> events;
};

TEST_F(XmlReader, ReadsAnotherWritersDocument)
{
    // Single quotes, CR LF, hexadecimal character references, a Jet-style schema in another column order,
    // a raw apostrophe in the title, a Windows picture path and upper-case hex.
    EXPECT_TRUE(importer.ImportXML(dataFile("other-writer.xml")));
    EXPECT_EQ(counters(), Event(2, 2, 0));

    const QVariantMap scones = recipeRow("Granny$$s Scones");
    ASSERT_FALSE(scones.isEmpty());
    EXPECT_EQ(scones["Category"], "Baking,Tea");
    EXPECT_EQ(scones["Ingredients"], "2 cups flour\r\n1 cup milk");
    EXPECT_EQ(scones["Instructions"], "Mix.\r\nBake <15 min>.");
    EXPECT_EQ(scones["Author"], "Granny");
    EXPECT_EQ(scones["Yield"], "12");
    EXPECT_EQ(scones["PictureName"], "scones.JPG");
    EXPECT_EQ(scones["RecipePicture"], QByteArray::fromHex("FFD8FFE000104A46"));
    EXPECT_EQ(scones["Mark"], 0); // marks and favourites do not travel
    EXPECT_FALSE(recipeRow("Hot Milk").isEmpty());
}

struct RowCase {
    const char* name;
    QString row;
    bool taken;        // inserted (else skipped, and the read answers false)
    QVariantMap expect; // stored columns of the row titled "Case"
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class XmlReaderRow : public XmlReader, public ::testing::WithParamInterface<RowCase> {};

TEST_P(XmlReaderRow, TakesOrSkipsTheRowAndReadsOn)
{
    const RowCase& c = GetParam();
    const bool result = importDocument(rowset(c.row + row("Next One")));

    EXPECT_EQ(result, c.taken);
    EXPECT_EQ(counters(), Event(2, c.taken ? 2 : 1, c.taken ? 0 : 1));
    EXPECT_FALSE(recipeRow("Next One").isEmpty()) << "the read stopped at the bad row";
    EXPECT_EQ(recipeCount(), c.taken ? 2 : 1);
    if (c.taken) {
        const QVariantMap stored = recipeRow(c.expect.value("Title", "Case").toString());
        ASSERT_FALSE(stored.isEmpty());
        for (auto it = c.expect.cbegin(); it != c.expect.cend(); ++it) {
            EXPECT_EQ(stored[it.key()], it.value()) << it.key().toStdString();
            EXPECT_EQ(stored[it.key()].isNull(), it.value().isNull()) << it.key().toStdString();
        }
    }
}

const QString kLongAuthor(51, 'a');
// Stored as 49 letters and "$$": the cut at 50 would split the pair, so the pair goes.
const QString kLongWine = QString(49, 'w') + "&apos;" + "www";

INSTANTIATE_TEST_SUITE_P(
    Rows, XmlReaderRow,
    ::testing::Values(
        RowCase{"AttributesInAnyOrderAndLetterCase",
                "<z:row instructions='Stir.' AUTHOR='Al' category='Soups' TITLE='Case' ingredients='salt'/>", true,
                {{"Author", "Al"}, {"Category", "Soups"}, {"Ingredients", "salt"}, {"Instructions", "Stir."}}},
        RowCase{"MissingColumnsTakeTheirDefaults", row("Case"), true,
                {{"Author", "Not Known"}, {"CookTime", ""}, {"PrepTime", ""}, {"TotalTime", ""},
                 {"Origin", "Unknown"}, {"CaloriesPerServing", ""}, {"Wine", ""}, {"PictureName", ""},
                 {"RecipePicture", QByteArray("")}, {"Yield", QVariant()}, {"Mark", 0}, {"Favourite", 0}}},
        RowCase{"EmptyValuesStayEmpty", row("Case", "Yield='' CookTime='' Author=''"), true,
                {{"Yield", ""}, {"CookTime", ""}, {"Author", ""}}},
        RowCase{"ApostrophesAreEncoded", row("Mum&apos;s Pie", "Author=\"O'Brien\" Wine='Cote d&apos;Or'"), true,
                {{"Title", "Mum$$s Pie"}, {"Author", "O$$Brien"}, {"Wine", "Cote d$$Or"}}},
        RowCase{"UnknownAndQualifiedAttributesAreIgnored",
                row("Case", "Rating='5' ID='77' Mark='True' Favourite='True' rs:forcenull='Yield'"), true,
                {{"Mark", 0}, {"Favourite", 0}, {"Yield", QVariant()}}},
        RowCase{"PictureNameLosesItsFolder", row("Case", "PictureName='../../x.jpg' RecipePicture='ffd8'"), true,
                {{"PictureName", "x.jpg"}, {"RecipePicture", QByteArray::fromHex("ffd8")}}},
        RowCase{"PictureNameLosesAWindowsFolder",
                row("Case", "PictureName='C:\\pics\\cake.gif' RecipePicture='4749'"), true,
                {{"PictureName", "cake.gif"}, {"RecipePicture", QByteArray("GI")}}},
        RowCase{"PictureNameIsOneLine",
                row("Case", "PictureName='cake&#13;&#10;X-Injected: yes&#9;.jpg' RecipePicture='ffd8'"), true,
                {{"PictureName", "cakeX-Injected: yes.jpg"}, {"RecipePicture", QByteArray::fromHex("ffd8")}}},
        RowCase{"DotDotIsNoPicture", row("Case", "PictureName='..' RecipePicture='4749'"), true,
                {{"PictureName", ""}, {"RecipePicture", QByteArray("")}}},
        RowCase{"PictureNameWithoutBytes", row("Case", "PictureName='cake.gif'"), true,
                {{"PictureName", "cake.gif"}, {"RecipePicture", QVariant()}}},
        // A row that lacks a required column is taken with an empty text there.
        RowCase{"NullTitle", "<z:row Category='Soups' Ingredients='salt' Instructions='Stir.'/>", true,
                {{"Title", ""}, {"Category", "Soups"}}},
        RowCase{"NullCategory", "<z:row Title='Case' Ingredients='salt' Instructions='Stir.'/>", true,
                {{"Category", ""}, {"Ingredients", "salt"}}},
        RowCase{"NullIngredients", "<z:row Title='Case' Category='Soups'/>", true,
                {{"Ingredients", ""}, {"Instructions", ""}}},
        RowCase{"PictureNotHex", row("Case", "PictureName='a.gif' RecipePicture='47zz'"), false, {}},
        RowCase{"PictureOddHex", row("Case", "PictureName='a.gif' RecipePicture='474'"), false, {}},
        RowCase{"ValueTooLongForItsColumn", row("Case", "Author='" + kLongAuthor + "' Wine='" + kLongWine + "'"), true,
                {{"Author", QString(50, 'a')}, {"Wine", QString(49, 'w')}}}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST_F(XmlReader, StoredTitlesAreSkippedWithoutRegardToCase)
{
    insertRecipe({{"Title", "Mum$$s Pie"}, {"Author", "x"}, {"Category", "x"}, {"Ingredients", "x"},
                  {"Instructions", "x"}});

    EXPECT_TRUE(importDocument(rowset(row("MUM&apos;S PIE") + row("New One") + row("new one"))));

    EXPECT_EQ(events, (QList<Event>{{3, 0, 0}, {3, 0, 1}, {3, 1, 1}, {3, 1, 2}}));
    EXPECT_EQ(recipeCount(), 2);
    EXPECT_FALSE(recipeRow("New One").isEmpty());
}

TEST_F(XmlReader, EventsFollowEveryRowAndAFailedRowMakesTheReadFalse)
{
    EXPECT_FALSE(importDocument(rowset(row("One") + row("Two", "PictureName='a.gif' RecipePicture='zz'") + row("Three"))));
    EXPECT_EQ(events, (QList<Event>{{3, 0, 0}, {3, 1, 0}, {3, 1, 1}, {3, 2, 1}}));

    // The next call starts from zero.
    events.clear();
    EXPECT_TRUE(importDocument(rowset(row("Four"))));
    EXPECT_EQ(events, (QList<Event>{{1, 0, 0}, {1, 1, 0}}));
}

// A long file is still being checked while its first rows are taken: a file cut short at its very end
// must leave nothing behind and raise nothing, and a whole one must report every row in its order.
TEST_F(XmlReader, ALongFileCountsOnlyOnceItIsFoundWhole)
{
    constexpr int kRows = 3000;
    QString rows;
    QList<Event> expected{{kRows, 0, 0}};
    for (int i = 0; i < kRows; ++i) {
        const bool repeat = i % 10 == 9; // the title of the row before, in other letters
        rows += row(repeat ? QString("ROW %1").arg(i - 1) : QString("Row %1").arg(i));
        const auto& [found, imported, skipped] = expected.back();
        expected << (repeat ? Event{found, imported, skipped + 1} : Event{found, imported + 1, skipped});
    }
    const QByteArray whole = rowset(rows);

    EXPECT_FALSE(importDocument(whole.left(whole.lastIndexOf("</rs:data>"))));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(counters(), Event(0, 0, 0));
    EXPECT_EQ(recipeCount(), 0);

    EXPECT_TRUE(importDocument(whole));
    EXPECT_EQ(events, expected);
    EXPECT_EQ(counters(), expected.back());
    EXPECT_EQ(recipeCount(), kRows - kRows / 10);
}

TEST_F(XmlReader, AFailureThatCostsTheTransactionEndsTheRead)
{
    // The engine rolls the whole transaction back, as it does on a full disk.
    basDatabase::cnCookbook.exec("CREATE TRIGGER boom BEFORE INSERT ON RECIPES WHEN NEW.TITLE='Boom' "
                                 "BEGIN SELECT RAISE(ROLLBACK, 'disk full'); END");

    EXPECT_FALSE(importDocument(rowset(row("One") + row("Boom") + row("Two"))));

    EXPECT_EQ(recipeCount(), 0); // nothing was stored row by row after the transaction was lost
    EXPECT_EQ(events.size(), 2);
    // Reported once, with its cause.
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("disk full"));
    EXPECT_TRUE(recorder.boxes[0].text.contains("ImportXML"));
}

TEST_F(XmlReader, RowsSavedAsPendingInsertsAreRead)
{
    const QString pending = "<rs:insert>\r\n" + row("Pending One") + row("Pending Two") + "</rs:insert>\r\n";
    EXPECT_TRUE(importDocument(rowset(row("Plain") + pending)));
    EXPECT_EQ(counters(), Event(3, 3, 0));
    EXPECT_FALSE(recipeRow("Pending Two").isEmpty());
}

TEST_F(XmlReader, ADocumentWithoutRowsIsReadWithoutAnEvent)
{
    EXPECT_TRUE(importDocument(rowset({})));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(counters(), Event(0, 0, 0));
}

TEST_F(XmlReader, ACancelledRunKeepsNothing)
{
    // Asked before the first row and asked after the rows were counted: either way nothing stays.
    basMain::bCancelImport = true;
    EXPECT_TRUE(importDocument(rowset(row("One") + row("Two"))));
    EXPECT_EQ(recipeCount(), 0);

    const auto cancelAfterOne = QObject::connect(&importer, &cImport::Processing, [] {
        if (basMain::lRecipesImported == 1)
            basMain::bCancelImport = true;
    });
    basMain::bCancelImport = false;
    EXPECT_TRUE(importDocument(rowset(row("One") + row("Two") + row("Three"))));
    QObject::disconnect(cancelAfterOne);
    basMain::bCancelImport = false;
    EXPECT_EQ(recipeCount(), 0);
    EXPECT_EQ(basMain::lRecipesImported, 0);

    // The next run takes the file whole.
    EXPECT_TRUE(importDocument(rowset(row("One") + row("Two"))));
    EXPECT_EQ(recipeCount(), 2);
}

TEST_F(XmlReader, AFileThatIsNoCompleteRowsetImportsNothing)
{
    const QByteArray exported = [&] {
        insertFixedRecipes();
        cExport().ExportXML(scratch.path("out.xml"));
        db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES").exec();
        return readBytes(scratch.path("out.xml"));
    }();
    const qsizetype rowsAt = exported.indexOf("<z:row");
    ASSERT_GT(rowsAt, 0);
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(static_cast<char>((i * 7919) % 256));

    const QList<std::pair<const char*, QByteArray>> files = {
        {"empty", {}},
        {"binary", binary},
        {"text", "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n\r\n      Title: Soup\r\n"},
        {"truncated in a row", exported.left(exported.indexOf("Title=", rowsAt))},
        {"truncated after a row", exported.left(exported.indexOf("\n", rowsAt) + 1)},
        {"another root", "<recipes><recipe Title='Soup'/></recipes>"},
        {"a rowset under another root", rowset(row("Soup")).replace("<xml ", "<rowset ").replace("</xml>", "</rowset>")},
        {"no data section", "<xml><s:Schema xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'/></xml>"},
        {"undeclared prefix", "<xml><rs:data><z:row Title='Soup' Category='x'/></rs:data></xml>"},
        {"not UTF-8", rowset(row("CafX")).replace("CafX", "Caf\xe9")},
        {"a character XML forbids", rowset(row("One") + row("Two", "Instructions='Stir.&#x0;'"))},
        {"a control character", rowset(row("One") + row("Two", "Instructions='Stir.\x01'"))},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        basMain::lRecipesFound = basMain::lRecipesImported = basMain::lRecipesSkipped = 7;
        events.clear();
        recorder.boxes.clear();
        EXPECT_FALSE(importDocument(bytes));
        EXPECT_EQ(counters(), Event(0, 0, 0));
        EXPECT_TRUE(events.isEmpty());
        EXPECT_EQ(recipeCount(), 0);
        // Said once, with where the file stops being readable.
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_TRUE(recorder.boxes[0].text.contains("The file could not be read (line ")) << recorder.boxes[0].text.toStdString();
        EXPECT_TRUE(recorder.boxes[0].text.contains("ImportXML"));
    }
    // The line named is the line of the fault.
    recorder.boxes.clear();
    EXPECT_FALSE(importDocument(rowset(row("One") + row("Two", "Instructions='Stir.&#x0;'"))));
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("(line 8)")) << recorder.boxes[0].text.toStdString();
    recorder.boxes.clear();
    EXPECT_FALSE(importer.ImportXML(scratch.path("missing.xml")));
}

TEST_F(XmlReader, NoCookbookOpenReadsNothing)
{
    basDatabase::cnCookbook.close();
    EXPECT_FALSE(importDocument(rowset(row("One"))));
    EXPECT_EQ(basMain::lRecipesImported, 0);
}

TEST_F(XmlReader, RoundTripThroughTheWriterKeepsEveryValue)
{
    basDatabase::CloseCookbook();
    scratch.createCookbook("Source");
    insertFixedRecipes();
    const QVariantMap pie = recipeRow("Mum$$s Pie");
    const QVariantMap soup = recipeRow("Plain Soup");
    cExport().ExportXML(scratch.path("out.xml"));

    ASSERT_TRUE(basDatabase::OpenCookbook("Target.tqc"));
    ASSERT_TRUE(importer.ImportXML(scratch.path("out.xml")));
    EXPECT_EQ(counters(), Event(2, 2, 0));
    EXPECT_EQ(recipeCount(), 2);

    // Every value comes back as stored, except what the reader sets itself: the new ID, no mark, and
    // defaults in place of Nulls.
    QVariantMap pieBack = recipeRow("Mum$$s Pie"), soupBack = recipeRow("Plain Soup");
    QVariantMap pieExpected = pie, soupExpected = soup;
    for (QVariantMap* r : {&pieBack, &soupBack, &pieExpected, &soupExpected}) {
        r->remove("ID");
        r->remove("Mark");
    }
    EXPECT_EQ(pieBack, pieExpected);
    soupExpected["Instructions"] = "Boil."; // the Ctrl-Z does not travel
    soupExpected["CookTime"] = soupExpected["PrepTime"] = soupExpected["TotalTime"] = "";
    soupExpected["Origin"] = "Unknown";
    soupExpected["CaloriesPerServing"] = soupExpected["Wine"] = soupExpected["PictureName"] = "";
    soupExpected["RecipePicture"] = QByteArray("");
    EXPECT_EQ(soupBack, soupExpected);
    EXPECT_TRUE(soupBack["Yield"].isNull());

    // Reading the same file again skips every recipe.
    EXPECT_TRUE(importer.ImportXML(scratch.path("out.xml")));
    EXPECT_EQ(counters(), Event(2, 0, 2));
}

} // namespace

// Values are kept out of memory as the text readers keep them: a text value past 16 MB skips its recipe
// (counted, and the read answers false), wherever the cut falls in a character or an entity; a picture
// larger than that is kept whole.
TEST_F(XmlReader, ATextValuePastTheLimitSkipsItsRecipeAndALargePictureIsKept)
{
    // The limit falls before the ';' of an entity in one value and inside the two bytes of an "é" in the other.
    const QByteArray repeated = QByteArray("\xc3\xa9&amp;").repeated((17 << 20) / 7);
    QByteArray picture(20 << 20, '\0');
    for (qsizetype i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<char>((i * 7919) >> 3);
    const QByteArray document = rowset(row("Before") + row("Long One", "Wine='@@'") +
                                       row("Pictured", "PictureName='big.png' RecipePicture='##'") +
                                       row("Long Two", "Origin='%%'") + row("After"))
                                    .replace("@@", "xx" + repeated)
                                    .replace("%%", "xxxxxx" + repeated)
                                    .replace("##", picture.toHex());

    EXPECT_FALSE(importDocument(document));
    EXPECT_EQ(counters(), Event(5, 3, 2));
    EXPECT_EQ(storedTitles(), (QStringList{"Before", "Pictured", "After"}));
    const QVariantMap pictured = recipeRow("Pictured");
    EXPECT_EQ(pictured["PictureName"], "big.png");
    EXPECT_TRUE(pictured["RecipePicture"].toByteArray() == picture) << "the picture is stored byte for byte";
}

// What the reader passes over around the rows (a declaration, comments and a CDATA section holding quotes
// and '>', a processing instruction) never throws its reading of the values off.
TEST_F(XmlReader, MarkupAroundTheRowsLeavesTheValuesAlone)
{
    const QByteArray document =
        "<?xml version='1.0' encoding='UTF-8'?>\r\n<!DOCTYPE xml [ <!ENTITY note \"it's > here\"> ]>\r\n" +
        rowset("<!-- Mum's \"best\" > 'pies' -->\r\n<?writer quote=\"'\" ?>\r\n" +
               row("Pie", "Author='Jane &amp; &quot;Son&quot;' PictureName='p.gif' RecipePicture='" +
                              QString::fromLatin1(kPicture.toHex()) + "'") +
               "<![CDATA[ ' \" > ]]>\r\n" + row("Soup", "Wine=\"Port's\""));

    EXPECT_TRUE(importDocument(document));
    EXPECT_EQ(storedTitles(), (QStringList{"Pie", "Soup"}));
    EXPECT_EQ(recipeRow("Pie")["Author"], "Jane & \"Son\"");
    EXPECT_EQ(recipeRow("Pie")["RecipePicture"].toByteArray(), kPicture);
    EXPECT_EQ(recipeRow("Soup")["Wine"], "Port$$s");
}

// Pictures of hundreds of kilobytes arrive over many reads of the file, split after an odd or an even
// number of hex digits: each is stored byte for byte, and one digit that is no hex deep inside refuses
// its row only.
TEST_F(XmlReader, LargePicturesSplitAcrossReadsAreStoredByteForByte)
{
    QByteArray picture(300 << 10, '\0');
    for (qsizetype i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<char>((i * 2654435761u) >> 13);
    QByteArray spoilt = picture.toHex();
    spoilt[spoilt.size() / 2 + 1] = 'g';
    QString rows;
    const QStringList titles{"A", "Bb", "Ccc", "Dddd"};
    for (const QString& title : titles)
        rows += row(title, "PictureName='p.gif' RecipePicture='" + QString::fromLatin1(picture.toHex()) + "'");
    rows += row("Spoilt", "PictureName='s.gif' RecipePicture='" + QString::fromLatin1(spoilt) + "'");

    EXPECT_FALSE(importDocument(rowset(rows)));
    EXPECT_EQ(storedTitles(), titles);
    for (const QString& title : titles)
        EXPECT_TRUE(recipeRow(title)["RecipePicture"].toByteArray() == picture) << qPrintable(title);
}
