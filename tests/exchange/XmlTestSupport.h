#pragma once
// Small helpers for the XML exchange tests: recipe rows in and out of the open cookbook, files as bytes.
#include "core/basDatabase.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"

#include <QVariantMap>

namespace xmltest {

// The stored row with this title (exact match), every column by its name; empty when there is none.
inline QVariantMap recipeRow(const QString& storedTitle)
{
    db::Query q(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE TITLE=?1 COLLATE BINARY", {storedTitle});
    QVariantMap row;
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i)
            row.insert(q.columnName(i), q.value(i));
    return row;
}

// A file under tests/exchange/data/xml/.
inline QString dataFile(const QString& name) { return QString(TQ_SOURCE_DIR) + "/tests/exchange/data/xml/" + name; }

// A 1 x 1 GIF.
inline const QByteArray kPicture = QByteArray::fromHex(
    "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

// The fixed cookbook of the exchange tests: two marked recipes (one with every column filled, with
// characters XML must escape and an encoded apostrophe; one with only the required columns, one of them
// empty, and a Ctrl-Z that XML cannot carry) and one unmarked recipe.
inline void insertFixedRecipes()
{
    insertRecipe({{"Title", "Mum$$s Pie"}, {"Author", "Jane <Cook> & Son"}, {"Category", "Dessert,Cakes"},
                  {"CookTime", "00:45"}, {"PrepTime", "00:20"}, {"TotalTime", "01:05"}, {"Yield", "6"},
                  {"CaloriesPerServing", "320"}, {"Ingredients", "1 cup flour\r\n2 \"large\" eggs"},
                  {"Instructions", "Mix well.\r\n\r\nBake\tat 180\u00b0C."}, {"Origin", "England"},
                  {"Wine", "Port"}, {"Mark", 1}, {"PictureName", "pie.gif"}, {"RecipePicture", kPicture}});
    insertRecipe({{"Title", "Plain Soup"}, {"Author", ""}, {"Category", "Soups"}, {"Ingredients", "water"},
                  {"Instructions", "Boil.\x1a"}, {"Mark", 1}});
    insertRecipe({{"Title", "Not Marked"}, {"Author", "x"}, {"Category", "x"}, {"Ingredients", "x"},
                  {"Instructions", "x"}});
}

} // namespace xmltest
