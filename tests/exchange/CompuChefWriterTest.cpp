// Compu-Chef export: the exact bytes written, and what reads back through our own reader.
#include "tests/exchange/CompuChefTestSupport.h"
#include "tests/support/ScratchProgram.h"
#include "tests/support/UiRecorder.h"

#include "core/basMain.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"

#include <gtest/gtest.h>

namespace {

using namespace compuchef_test;

// The fixed cookbook of the golden file: three marked recipes (apostrophes, Nulls, outer blanks,
// accented letters, empty fields) and one unmarked.
class CompuChefWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.createCookbook("Export");
        insertRecipe({{"TITLE", "Grandma$$s Apple Pie"},
                      {"AUTHOR", "Jane Doe"},
                      {"CATEGORY", "Dessert,Pies"},
                      {"CALORIESPERSERVING", "250"},
                      {"YIELD", "8"},
                      {"PREPTIME", "00:30"},
                      {"TOTALTIME", "01:15"},
                      {"INGREDIENTS", "6 tart apples\r\n1 cup sugar\r\n2 tbsp Grandma$$s spice mix"},
                      {"INSTRUCTIONS", "Peel and slice the apples.\r\nToss with the sugar and spice.\r\n\r\n"
                                       "Bake 45 minutes; don$$t overbake."},
                      {"MARK", 1}});
        insertRecipe({{"TITLE", "Beef Stew"},
                      {"AUTHOR", "Not Known"},
                      {"CATEGORY", "Main"},
                      {"INGREDIENTS", "1 lb beef"},
                      {"INSTRUCTIONS", "Simmer."},
                      {"MARK", 0}});
        insertRecipe({{"TITLE", QString::fromUtf8(" Crème Brûlée ")},
                      {"AUTHOR", "Not Known"},
                      {"CATEGORY", "Baked Custards"},
                      {"CALORIESPERSERVING", QVariant()},
                      {"YIELD", QVariant()},
                      {"TOTALTIME", QVariant()},
                      {"INGREDIENTS", "2 cups cream\r\n5 egg yolks"},
                      {"INSTRUCTIONS", "Whisk, bake in a water bath, chill."},
                      {"MARK", 1}});
        insertRecipe({{"TITLE", "Plain Toast"},
                      {"AUTHOR", ""},
                      {"CATEGORY", ""},
                      {"INGREDIENTS", ""},
                      {"INSTRUCTIONS", ""},
                      {"MARK", 1}});
    }

    QString exportTo(const QString& name)
    {
        const QString path = program.path(name);
        cExport exporter;
        QObject::connect(&exporter, &cExport::Exported, [this](qint32 n) { counts << n; });
        exporter.ExportCompuChef(path);
        return path;
    }

    ScratchProgram program;
    QList<qint32> counts;
};

TEST_F(CompuChefWriter, WritesTheMarkedRecipesByteForByte)
{
    const QString path = exportTo("out.txt");
    const QByteArray golden = readBytes(QString(TQ_SOURCE_DIR) + "/tests/exchange/data/compuchef-export.txt");
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(readBytes(path).toStdString(), golden.toStdString());
    EXPECT_EQ(counts, (QList<qint32>{1, 2, 3}));
    EXPECT_FALSE(readBytes(path).contains('\0'));
}

TEST_F(CompuChefWriter, WritesAnEmptyFileWhenNothingIsMarked)
{
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=0").exec();
    writeBytes(program.path("out.txt"), "old contents");

    const QString path = exportTo("out.txt");
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(readBytes(path).size(), 0);
    EXPECT_TRUE(counts.isEmpty());
}

TEST_F(CompuChefWriter, ReportsAFileThatCannotBeWritten)
{
    UiRecorder recorder;
    exportTo("no such folder/out.txt");
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry Error");
    EXPECT_TRUE(program.errorLog().contains("occurred in module ExportTovalquendry"));
    EXPECT_TRUE(counts.isEmpty());
}

TEST_F(CompuChefWriter, ReadsBackThroughTheReader)
{
    const QString path = exportTo("out.txt");
    program.createCookbook("Imported");
    cImport importer;
    EXPECT_TRUE(importer.ImportCompuChef(path));
    EXPECT_EQ(basMain::lRecipesFound, 3);
    EXPECT_EQ(basMain::lRecipesImported, 3);
    EXPECT_EQ(basMain::lRecipesSkipped, 0);

    // What the format carries comes back as stored; each ingredient and instruction line gains its CR LF,
    // Null details come back empty, and the author (not written) reads as "Not Known".
    auto pie = rowByTitle("Grandma$$s Apple Pie");
    ASSERT_FALSE(pie.empty());
    EXPECT_EQ(pie["CATEGORY"], "Dessert,Pies");
    EXPECT_EQ(pie["CALORIESPERSERVING"], "250");
    EXPECT_EQ(pie["YIELD"], "8");
    EXPECT_EQ(pie["TOTALTIME"], "01:15");
    EXPECT_EQ(pie["INGREDIENTS"], "6 tart apples\r\n1 cup sugar\r\n2 tbsp Grandma$$s spice mix\r\n");
    EXPECT_EQ(pie["INSTRUCTIONS"], "Peel and slice the apples.\r\nToss with the sugar and spice.\r\n\r\n"
                                   "Bake 45 minutes; don$$t overbake.\r\n");
    EXPECT_EQ(pie["AUTHOR"], "Not Known");
    EXPECT_EQ(pie["MARK"], "0");

    auto creme = rowByTitle(QString::fromUtf8(" Crème Brûlée "));
    ASSERT_FALSE(creme.empty());
    EXPECT_EQ(creme["CATEGORY"], "Baked Custards"); // one name with a blank stays one name
    EXPECT_EQ(creme["CALORIESPERSERVING"], "");
    EXPECT_EQ(creme["YIELD"], "");
    EXPECT_EQ(creme["TOTALTIME"], "");
    EXPECT_EQ(creme["INGREDIENTS"], "2 cups cream\r\n5 egg yolks\r\n");
    EXPECT_EQ(creme["INSTRUCTIONS"], "Whisk, bake in a water bath, chill.\r\n");

    auto toast = rowByTitle("Plain Toast");
    ASSERT_FALSE(toast.empty());
    EXPECT_EQ(toast["CATEGORY"], "");
    EXPECT_EQ(toast["INGREDIENTS"], "");
    EXPECT_EQ(toast["INSTRUCTIONS"], "");
}

} // namespace
