// The XML writer: the document it writes for a fixed cookbook, its count event, and its failures.
#include "XmlTestSupport.h"

#include "support/ScratchProgram.h"
#include "exchange/cExport.h"
#include "core/basMain.h"
#include "exchange/cImport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace xmltest;

namespace {

// A 1 x 1 GIF.
const QByteArray kPicture = QByteArray::fromHex(
    "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

QString goldenPath(const QString& name) { return QString(TQ_SOURCE_DIR) + "/tests/exchange/data/xml/" + name; }

class XmlWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch.createCookbook("Source");
        // Every column filled, with characters XML must escape and an encoded apostrophe.
        insertRecipe({{"Title", "Mum$$s Pie"}, {"Author", "Jane <Cook> & Son"}, {"Category", "Dessert,Cakes"},
                      {"CookTime", "00:45"}, {"PrepTime", "00:20"}, {"TotalTime", "01:05"}, {"Yield", "6"},
                      {"CaloriesPerServing", "320"}, {"Ingredients", "1 cup flour\r\n2 \"large\" eggs"},
                      {"Instructions", "Mix well.\r\n\r\nBake\tat 180\u00b0C."}, {"Origin", "England"},
                      {"Wine", "Port"}, {"Mark", 1}, {"PictureName", "pie.gif"}, {"RecipePicture", kPicture}});
        // Only the required columns, one of them empty; a Ctrl-Z that XML cannot carry.
        insertRecipe({{"Title", "Plain Soup"}, {"Author", ""}, {"Category", "Soups"}, {"Ingredients", "water"},
                      {"Instructions", "Boil.\x1a"}, {"Mark", 1}});
        insertRecipe({{"Title", "Not Marked"}, {"Author", "x"}, {"Category", "x"}, {"Ingredients", "x"},
                      {"Instructions", "x"}});
    }

    QString out(const QString& name = "recipes.xml") const { return scratch.path(name); }

    ScratchProgram scratch;
    cExport exporter;
};

TEST_F(XmlWriter, WritesTheMarkedRecipesAsTheGoldenDocument)
{
    QList<qint32> counts;
    QObject::connect(&exporter, &cExport::Exported, [&](qint32 n) { counts << n; });

    exporter.ExportXML(out());

    EXPECT_EQ(counts, QList<qint32>{2}); // once, with the number of marked recipes
    const QByteArray written = readBytes(out());
    const QByteArray golden = readBytes(goldenPath("marked-recipes.xml"));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(written, golden) << written.toStdString();
}

TEST_F(XmlWriter, NoMarkedRecipeWritesTheSchemaAloneAndReportsZero)
{
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=0").exec();
    QList<qint32> counts;
    QObject::connect(&exporter, &cExport::Exported, [&](qint32 n) { counts << n; });

    exporter.ExportXML(out());

    EXPECT_EQ(counts, QList<qint32>{0});
    const QByteArray written = readBytes(out());
    EXPECT_TRUE(written.contains("<s:extends type=\"rs:rowbase\"/>"));
    EXPECT_FALSE(written.contains("z:row"));

    // And it reads back as a file without rows: true, nothing counted.
    cImport importer;
    EXPECT_TRUE(importer.ImportXML(out()));
    EXPECT_EQ(basMain::lRecipesFound, 0);
}

TEST_F(XmlWriter, ReplacesAnExistingFileWhole)
{
    writeBytes(out(), QByteArray(200000, 'x'));
    exporter.ExportXML(out());
    EXPECT_EQ(readBytes(out()), readBytes(goldenPath("marked-recipes.xml")));
}

TEST_F(XmlWriter, FailuresReachTheCallerAndLeaveNoFile)
{
    int events = 0;
    QObject::connect(&exporter, &cExport::Exported, [&] { ++events; });

    EXPECT_THROW(exporter.ExportXML(scratch.path("no such folder/recipes.xml")), AppError);
    EXPECT_FALSE(QFile::exists(scratch.path("no such folder/recipes.xml")));

    // A folder in the way of the file.
    QDir().mkpath(scratch.path("taken.xml"));
    EXPECT_THROW(exporter.ExportXML(scratch.path("taken.xml")), AppError);

    basDatabase::cnCookbook.close();
    EXPECT_THROW(exporter.ExportXML(out()), AppError);
    EXPECT_FALSE(QFile::exists(out()));
    EXPECT_EQ(events, 0);
}

} // namespace
