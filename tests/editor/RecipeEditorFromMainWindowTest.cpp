// From the main window: add a recipe with a picture, find it in the tree, amend it and see it on the page.
#include "browser/BrowserFixture.h"
#include "editor/frmAddRecipe.h"
#include "platform/text/PageReferences.h"
#include "support/ModalAnswer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

class RecipeEditorFromMainWindow : public BrowserTest {
protected:
    // Runs the command; the editor that it opens is handed to `edit`, and then OK is pressed.
    void editWith(frmMain& w, const QString& command, std::function<void(frmAddRecipe&)> edit)
    {
        ModalAnswer<frmAddRecipe> answer([&](frmAddRecipe& editor) {
            edit(editor);
            editor.cmdOk_Click();
        });
        w.commandButton(command)->trigger();
    }

    // The page's text, its character references read.
    QString page() const { return text::ResolveReferences(QString::fromUtf8(readBytes(program.page("recipe.html")))); }
};

TEST_F(RecipeEditorFromMainWindow, AddedRecipeIsFoundAmendedAndShown)
{
    auto w = openWindow(makeCookbook());
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    const QString picture = program.path("lemon.png");
    ASSERT_TRUE(image.save(picture));
    recorder.files.enqueue({picture});

    editWith(*w, "TOOLBAR:ADDRECIPE", [](frmAddRecipe& e) {
        e.txtTitle->setText("Lemon Tart");
        e.txtAuthor->setText("Ann");
        e.txtIng->setText("2 lemons");
        e.cmdAddIng_Click();
        e.cmbCat->setEditText("Desserts");
        e.cmdAddCat_Click();
        e.cmdPicAdd_Click();
    });
    EXPECT_TRUE(recorder.boxes.last().text == "Recipe added successfully.") << recorder.boxes.last().text.toStdString();

    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    auto tart = listItem(w->lstVRecipes(), "Lemon Tart");
    ASSERT_TRUE(tart);
    tart->select();
    w->lstVRecipes_Click();
    EXPECT_TRUE(page().contains("Ann"));
    EXPECT_EQ(readBytes(program.page("lemon.png")), readBytes(picture));

    editWith(*w, "TOOLBAR:EDITRECIPE", [](frmAddRecipe& e) {
        EXPECT_EQ(e.txtTitle->text(), "Lemon Tart");
        e.txtAuthor->setText("Bea O'Hara");
    });
    EXPECT_EQ(recorder.boxes.last().text, "Recipe updated successfully.");
    w->lstVRecipes_Click();
    EXPECT_TRUE(page().contains("Bea O'Hara"));
    EXPECT_EQ(program.errorLog(), "");
}

} // namespace
