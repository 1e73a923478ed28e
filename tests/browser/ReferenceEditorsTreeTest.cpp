// The reference-list editors opened from the main window change what its browse tree shows.
#include "BrowserFixture.h"

#include "editor/frmEditCats.h"
#include "editor/frmEditIngredients.h"

#include <QLineEdit>
#include <QListWidget>

namespace {

using ReferenceEditorsTree = BrowserTest;

TEST_F(ReferenceEditorsTree, AddingAndDeletingNamesShowsInTheTreeAfterClose)
{
    auto window = openWindow(makeCookbook());
    ASSERT_NE(child(window->tvRecipes(), "Categories", "Soups"), nullptr);

    frmEditCats cats;
    cats.txtName->setText("Grills");
    cats.cmdAdd_Click();
    EXPECT_EQ(child(window->tvRecipes(), "Categories", "Grills"), nullptr) << "only Close refreshes";
    cats.cmdClose_Click();
    EXPECT_NE(child(window->tvRecipes(), "Categories", "Grills"), nullptr);
    EXPECT_EQ(root(window->tvRecipes(), "Categories")->text(0), "Categories (4)");

    frmEditIngredients ingredients;
    ingredients.lstIngs->setCurrentItem(ingredients.lstIngs->findItems("Sugar", Qt::MatchExactly).value(0));
    recorder.answers << ui::Answer::Yes;
    ingredients.cmdDelete_Click();
    ingredients.cmdClose_Click();
    EXPECT_EQ(child(window->tvRecipes(), "Ingredients", "Sugar"), nullptr);
    EXPECT_NE(child(window->tvRecipes(), "Ingredients", "Flour"), nullptr);
    EXPECT_EQ(program.errorLog(), "");
}

} // namespace
