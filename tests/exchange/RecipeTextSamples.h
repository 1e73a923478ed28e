#pragma once
// One small recipe in each exchange format, as a user would copy or save it, a main window that counts
// its refreshes, and the boxes shown: what the import dialog, export dialog and clipboard watcher tests share.
#include "core/basDatabase.h"
#include "exchange/cExport.h"
#include "support/TestQueries.h"
#include "support/StubMainWindow.h"
#include "support/UiRecorder.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace samples {

inline QString lines(const QStringList& l) { return l.join("\r\n") + "\r\n"; }

inline QString mealMaster(const QString& title, const QString& header = "MMMMM----- Recipe via Meal-Master (tm) v8.05")
{
    return lines({header, "", "      Title: " + title, " Categories: Desserts", "      Yield: 6 servings", "",
                  "      2 c  flour", "", "  Bake it.", "", "MMMMM"});
}

inline QString masterCook(const QString& title, const QString& header = "*  Exported from  MasterCook  *")
{
    return lines({"                     " + header, "", "                               " + title, "",
                  "Recipe By     : Jane", "Serving Size  : 4    Preparation Time :0:30",
                  "Categories    : Main Dish", "",
                  "  Amount  Measure       Ingredient -- Preparation Method",
                  "--------  ------------  --------------------------------",
                  "   1      pound         beef", "", "Cook it slowly.", "",
                  "                   - - - - - - - - - - - - - - - - - - ", ""});
}

inline QString compuChef(const QString& title)
{
    return lines({"                    *****************************************",
                  "                    ****** " + title.toUpper() + " ******",
                  "                    *****************************************", " ",
                  "    Categories: Soups", " ",
                  "    Calories     per serving:  345       Number of Servings: 4",
                  "    Fat grams    per serving:   12       Approx. Cook Time: 0:45",
                  "    Cholesterol  per serving:   80       Marks:", " ",
                  "    INGREDIENTS ----------------------------------------------------------------", " ",
                  "          2 cup   water", " ",
                  "    DIRECTIONS  ----------------------------------------------------------------", " ",
                  "    Boil the water.", " ", " ", "    *** Recipe Via Compu-Chef (tm) ***", " "});
}

// Writes a file of the program's own XML format holding one recipe, through the program's own writer;
// the open cookbook is left as it was.
inline void writeXml(const QString& path, const QString& title)
{
    const qint64 id = insertRecipe({{"Title", title}, {"Author", "A"}, {"Category", "Cakes"},
                                    {"Ingredients", "flour"}, {"Instructions", "Bake."}, {"Mark", 1}});
    cExport().ExportXML(path);
    db::Query(basDatabase::cnCookbook, "DELETE FROM RECIPES WHERE ID=?1", {id}).exec();
}

} // namespace samples

// The titles stored in the open cookbook, in the order they came.
inline QStringList storedTitles()
{
    QStringList titles;
    db::Query q(basDatabase::cnCookbook, "SELECT TITLE FROM RECIPES ORDER BY ID");
    while (q.next())
        titles << q.text("TITLE");
    return titles;
}

// The box the user was shown: its text, title and icon.
inline void expectBox(const RecordedBox& box, const QString& text, const QString& title, ui::Icon icon)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.icon, icon);
}

// Counts the main window's refreshes.
class CountingMainWindow : public StubMainWindow {
public:
    void RefreshViews() override { ++refreshes; }
    int refreshes = 0;
};
