// The reference lists, the recipe editor's pick lists and the wine list in the order of the user's
// language.
#include "EditorFixture.h"

#include "editor/frmEditCats.h"
#include "editor/frmEditIngredients.h"
#include "editor/frmEditUOM.h"
#include "editor/frmWineAdd.h"
#include "support/UserLanguage.h"

#include <QComboBox>

namespace {

QStringList comboEntries(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

using DictionaryOrderLists = EditorTest;

TEST_F(DictionaryOrderLists, ReferenceListsPickListsAndWinesSortAsTheUsersLanguageDoes)
{
    UserLanguage language(German);
    DE.cn.exec("INSERT INTO CATEGORY (CATEGORY) VALUES ('Éclairs'), ('Œufs'), ('Obst'), ('Zupy');"
               "INSERT INTO INGREDIENT (INGREDIENT) VALUES ('Äpfel'), ('Łosoś'), ('Lauch'), ('Zucker');"
               "INSERT INTO MEASURES (MEASUREMENT) VALUES ('Östl. Maß'), ('oz'), ('Tasse');"
               "INSERT INTO WINES ([WINE NAME], COUNTRY) VALUES ('Zweigelt', '1'), ('Château Margaux', '1'),"
               " ('Chablis', '1'), ('Ürziger Würzgarten', '1'), ('Unterberg', '1');"
               "INSERT INTO ORIGIN (ORIGIN) VALUES ('Zimbabwe'), ('Österreich'), ('Åland'), ('Belgien');");
    const QStringList categories = {"Desserts", "Éclairs", "Main Dish", "Obst", "Œufs", "Soups", "Zupy"};
    const QStringList ingredients = {"Äpfel", "Eggs", "Flour", "Lauch", "Łosoś", "Sugar", "Zucker"};
    const QStringList units = {"cup", "Östl. Maß", "oz", "Tasse", "tbsp", "tsp"};

    frmEditCats cats;
    EXPECT_EQ(entries(cats.findChild<QListWidget*>("lstCats")), categories);
    frmEditIngredients ings;
    EXPECT_EQ(entries(ings.findChild<QListWidget*>("lstIngs")), ingredients);
    frmEditUOM uom;
    EXPECT_EQ(entries(uom.findChild<QListWidget*>("lstUom")), units);

    auto editor = openEditor();
    EXPECT_EQ(comboEntries(editor->cmbCat), categories);
    EXPECT_EQ(comboEntries(editor->cmbIng), ingredients);
    EXPECT_EQ(comboEntries(editor->cmbUOM), QStringList{""} + units) << "the empty entry clears a unit";
    const QStringList countries = {"Åland", "Belgien", "Finland", "France", "Italy", "Österreich", "Zimbabwe"};
    EXPECT_EQ(comboEntries(editor->cmbOrigin), countries) << "countries added later among the others";

    frmWineAdd wines;
    EXPECT_EQ(comboEntries(wines.cmbCountry), countries);
    EXPECT_EQ(items(wines.lstvWines),
              QStringList({"Chablis", "Château Margaux", "Unterberg", "Ürziger Würzgarten", "Zweigelt"}));
}
