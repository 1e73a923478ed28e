// The MasterCook writer: byte-exact output, errors, and the round trip through our own reader.
#include "MasterCookSupport.h"
#include "exchange/cExport.h"
#include "support/UiRecorder.h"

using namespace mastercook_test;

namespace {

// A missing file reads as "<missing>", so that it never passes for an empty one.
QByteArray fileBytes(const QString& path)
{
    return QFile::exists(path) ? readBytes(path) : QByteArray("<missing>");
}

class MasterCookWriter : public Fixture {
protected:
    // Three marked recipes (apostrophes in every field, Null optional fields, an empty ingredient list,
    // text beyond ASCII) and one unmarked recipe, in that order of ID.
    void SetUp() override
    {
        Fixture::SetUp();
        const QVariant null;
        add({"Mum$$s Apple Pie", "Mum$$s Kitchen", "Dessert,Pies,Baker$$s Choice",
             "6 apples -- peeled\r\n1 cup sugar\r\n2 tsp cinnamon",
             "Peel the apples.\r\nMix with sugar.\r\n\r\nBake at 180°C for 45 minutes; don$$t open the oven.", "8",
             "00:30", "320", "01:15", 1});
        add({"Hidden Soup", "Nobody", "Soups", "1 leek", "Boil.", "2", null, null, null, 0});
        add({"Plain Bread", "Not Known", "Breads", "", "", null, null, null, null, 1});
        add({"Crème Brûlée €", "Chef", "Dessert", "500 ml cream\r\n5 egg yolks", "Whisk.", "4 ramekins", "1 hour",
             "450 kcal", null, 1});
    }
    static void add(std::initializer_list<QVariant> values)
    {
        db::Query(basDatabase::cnCookbook,
                  "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, YIELD, PREPTIME, "
                  "CALORIESPERSERVING, TOTALTIME, MARK) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                  values)
            .exec();
    }

    cExport exporter;
};

TEST_F(MasterCookWriter, WritesTheMarkedRecipesByteForByte)
{
    QList<qint32> exported;
    QObject::connect(&exporter, &cExport::Exported, [&](qint32 count) { exported << count; });
    const QString path = program.path("out.mxp");

    exporter.ExportMasterCook(path);

    EXPECT_EQ(fileBytes(path), fileBytes(QString(TQ_SOURCE_DIR) + "/tests/exchange/data/mastercook-golden.mxp"));
    EXPECT_EQ(exported, (QList<qint32>{1, 2, 3}));
    EXPECT_TRUE(program.errorLog().isEmpty());
}

TEST_F(MasterCookWriter, WritesAnEmptyFileWhenNothingIsMarked)
{
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=0");
    const QString path = writeFile("old.mxp", "old contents");
    int exported = 0;
    QObject::connect(&exporter, &cExport::Exported, [&](qint32) { ++exported; });

    exporter.ExportMasterCook(path);

    EXPECT_EQ(fileBytes(path), QByteArray());
    EXPECT_EQ(exported, 0);
}

TEST_F(MasterCookWriter, ReportsAFileItCannotWrite)
{
    UiRecorder recorder;
    exporter.ExportMasterCook(program.path("no such folder/out.mxp"));

    EXPECT_TRUE(program.errorLog().contains("occurred in module ExportTovalquendry")) << program.errorLog().toStdString();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.contains("ExportTovalquendry"));
}

TEST_F(MasterCookWriter, ReadsBackWhatItWrote)
{
    const QString path = program.path("trip.mxp");
    exporter.ExportMasterCook(path);
    program.createCookbook("Copy");

    EXPECT_TRUE(importer.ImportMasterCook(path));

    EXPECT_EQ(counters(), (Counters{3, 3, 0}));
    // What the format cannot carry: "--" in an ingredient line. A Null yield or time comes back empty;
    // every line read comes back with its CR LF.
    const QList<Row> expected = {
        {"Mum$$s Apple Pie", "Mum$$s Kitchen", "00:30", "Dessert,Pies,Baker$$s Choice", "8",
         "6 apples peeled\r\n1 cup sugar\r\n2 tsp cinnamon\r\n",
         "Peel the apples.\r\nMix with sugar.\r\n\r\nBake at 180°C for 45 minutes; don$$t open the oven.\r\n"},
        {"Plain Bread", "Not Known", "", "Breads", "", "", ""},
        {"Crème Brûlée €", "Chef", "1 hour", "Dessert", "4 ramekins", "500 ml cream\r\n5 egg yolks\r\n",
         "Whisk.\r\n"},
    };
    EXPECT_EQ(storedRows(), expected);
}

} // namespace
