// The XML writer: the document it writes for a fixed cookbook, its count event, and its failures.
#include "XmlTestSupport.h"

#include "core/basMain.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"
#include "support/ScratchProgram.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace xmltest;

namespace {

class XmlWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch.createCookbook("Source");
        insertFixedRecipes();
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

    EXPECT_EQ(counts, (QList<qint32>{1, 2})); // the count moves with every row written
    const QByteArray written = readBytes(out());
    const QByteArray golden = readBytes(dataFile("marked-recipes.xml"));
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
    EXPECT_EQ(readBytes(out()), readBytes(dataFile("marked-recipes.xml")));
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
