// Layouts that real files of other programs use, imported through the import dialog and then taken out
// through every writer and read back: ingredient groups that MasterCook separates with a line of tabs, and
// Meal-Master headers and end lines indented by one blank in a hand-joined archive.
#include "ImportFixture.h"
#include "RecipeTextSamples.h"

#include "exchange/cExport.h"
#include "exchange/frmImport.h"

#include <QLabel>
#include <QLineEdit>

namespace {

struct Stored {
    QString title;
    QStringList ingredients, instructions;
};

// A stored multi-line text as its lines, each trimmed, without the empty ones at its end: what every
// format gives back of it.
QStringList linesOf(const QString& stored)
{
    QStringList lines;
    for (const QString& l : stored.split("\r\n"))
        lines << l.trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class RealLayouts : public ImportFixture {
protected:
    // Imports the file through the dialog; the labels Found, Imported and Skipped.
    QStringList importThroughDialog(const QString& path)
    {
        frmImport dlg;
        dlg.show();
        dlg.txtFile->setText(path);
        dlg.cmdImport_Click();
        return {dlg.lblFound->text(), dlg.lblImported->text(), dlg.lblSkipped->text()};
    }

    // The recipes of the open cookbook, the ingredient lines with one blank for two, as the writers that
    // lay the lines out again give them back.
    static QList<Stored> stored()
    {
        QList<Stored> out;
        for (const QVariantMap& row : recipes()) {
            QStringList ingredients = linesOf(row["INGREDIENTS"].toString());
            for (QString& l : ingredients)
                l = cImport::RemoveDoubleSpaces(l);
            out << Stored{row["TITLE"].toString(), ingredients, linesOf(row["INSTRUCTIONS"].toString())};
        }
        return out;
    }

    void expectStored(const QList<Stored>& expected)
    {
        const QList<Stored> back = stored();
        ASSERT_EQ(back.size(), expected.size());
        for (qsizetype i = 0; i < back.size(); ++i) {
            SCOPED_TRACE(expected[i].title.toStdString());
            EXPECT_EQ(back[i].title, expected[i].title);
            EXPECT_EQ(back[i].ingredients, expected[i].ingredients);
            // Meal-Master's author line and separators may follow the method; the method itself is whole.
            EXPECT_EQ(back[i].instructions.mid(0, expected[i].instructions.size()), expected[i].instructions);
        }
    }

    // Every recipe of the open cookbook goes out through each writer and comes back with the same
    // ingredients and instructions.
    void expectBackThroughEveryWriter(const QList<Stored>& expected)
    {
        db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1").exec();
        const struct {
            const char* file;
            void (cExport::*write)(const QString&);
        } writers[] = {{"back.mmf", &cExport::ExportMealMaster},
                       {"back.mxp", &cExport::ExportMasterCook},
                       {"back.txt", &cExport::ExportCompuChef},
                       {"back.xml", &cExport::ExportXML}};
        for (const auto& w : writers) {
            cExport exporter;
            (exporter.*w.write)(program.path(w.file));
        }
        for (const auto& w : writers) {
            SCOPED_TRACE(w.file);
            program.createCookbook(QString("Back ") + QString(w.file).section('.', 1));
            const QString n = QString::number(expected.size());
            EXPECT_EQ(importThroughDialog(program.path(w.file)), (QStringList{n, n, "0"}));
            expectStored(expected);
        }
        EXPECT_TRUE(recorder.boxes.isEmpty());
    }

    CountingMainWindow window;
};

// MasterCook writes the empty line between two groups of ingredients as a line of tabs; the rows after
// it are ingredients still, and the method starts after the truly empty line.
TEST_F(RealLayouts, MasterCookIngredientGroupsAfterALineOfTabsStayIngredients)
{
    const QString path = writeFile("sorbet.mxp", crlf({
        "                     *  Exported from  MasterCook  *",
        "",
        "                       Raspberry Frozen Yogurt",
        "",
        "Recipe By     : ",
        "Serving Size  : 8     Preparation Time :0:30",
        "Categories    : Desserts                         Frozen",
        "",
        "  Amount  Measure       Ingredient -- Preparation Method",
        "--------  ------------  --------------------------------",
        "                        Raspberry sauce",
        "  24      Ounces        raspberries -- thawed",
        "     1/2  cup           sugar",
        "\t\t\t\t\t",
        "                        Frozen yogurt",
        "   2      cups          plain yogurt",
        "   1 1/2  cups          cream",
        "\t\t\t\t\t",
        "                        Topping",
        "   1      cup           almonds -- toasted",
        "",
        "Puree the raspberries with the sugar.",
        "",
        "Stir the yogurt and the cream into the puree and freeze.",
        "",
        "                   - - - - - - - - - - - - - - - - - - ",
        "",
        "                     *  Exported from  MasterCook  *",
        "",
        "                       Plain Toast",
        "",
        "Recipe By     : ",
        "Serving Size  : 1     Preparation Time :0:05",
        "Categories    : Breakfast",
        "",
        "  Amount  Measure       Ingredient -- Preparation Method",
        "--------  ------------  --------------------------------",
        "   1      slice         bread",
        "\t\t\t\t\t",
        "Toast the bread.",
        "",
        "                   - - - - - - - - - - - - - - - - - - ",
    }));
    EXPECT_EQ(importThroughDialog(path), (QStringList{"2", "2", "0"}));
    const QList<Stored> expected = {
        {"Raspberry Frozen Yogurt",
         {"Raspberry sauce", "24 Ounces raspberries thawed", "1/2 cup sugar", "Frozen yogurt", "2 cups plain yogurt",
          "1 1/2 cups cream", "Topping", "1 cup almonds toasted"},
         {"Puree the raspberries with the sugar.", "", "Stir the yogurt and the cream into the puree and freeze."}},
        // A line of tabs that no ingredient row follows still ends the ingredients.
        {"Plain Toast", {"1 slice bread"}, {"Toast the bread."}},
    };
    expectStored(expected);
    expectBackThroughEveryWriter(expected);
}

// A hand-joined archive: the second header is indented by one blank and has no end line before it, the
// second recipe's end line is indented too. Each header starts a recipe, and our own guarded lines
// (HardLines) still come back as text.
TEST_F(RealLayouts, MealMasterHeadersAndEndLinesIndentedByOneBlankStayMarkers)
{
    const QString path = writeFile("joined.mmf", crlf({
        "MMMMM----- Recipe via Meal-Master (tm) v8.06",
        "",
        "      Title: Clotted Cream",
        " Categories: Dairy, British",
        "      Yield: 1 pint",
        "",
        "      2 pt  double cream",
        "",
        "  Heat the cream gently for an hour and leave it to cool overnight.",
        "",
        " ------------- Recipe Extracted from Meal-Master (tm) Database --------------",
        "",
        "      Title: Welsh Cakes",
        " Categories: Baking, British",
        "      Yield: 24 cakes",
        "",
        "    225 g  self-raising flour",
        "     75 g  currants",
        "",
        "  Rub in, roll out and bake on a griddle.",
        "",
        " MMMMM",
        "",
        "MMMMM----- Recipe via Meal-Master (tm) v8.06",
        "",
        "      Title: Scones",
        " Categories: Baking",
        "      Yield: 8 scones",
        "",
        "    250 g  flour",
        "",
        "  Bake in a hot oven.",
        "",
        "MMMMM",
    }));
    EXPECT_EQ(importThroughDialog(path), (QStringList{"3", "3", "0"}));
    const QList<Stored> expected = {
        {"Clotted Cream", {"2 pt double cream"}, {"Heat the cream gently for an hour and leave it to cool overnight."}},
        {"Welsh Cakes", {"225 g self-raising flour", "75 g currants"}, {"Rub in, roll out and bake on a griddle."}},
        {"Scones", {"250 g flour"}, {"Bake in a hot oven."}},
    };
    expectStored(expected);
    expectBackThroughEveryWriter(expected);
}

} // namespace
