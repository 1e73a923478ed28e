#pragma once
// One small recipe in each exchange format, as a user would copy or save it, and a main window that
// counts its refreshes: what the import dialog, export dialog and clipboard watcher tests share.
#include "support/StubMainWindow.h"

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

} // namespace samples

// Counts the main window's refreshes.
class CountingMainWindow : public StubMainWindow {
public:
    void RefreshViews() override { ++refreshes; }
    int refreshes = 0;
};
