// From the main window: add a recipe with a picture, find it in the tree, amend it and see it on the page.
#include "browser/BrowserFixture.h"
#include "editor/frmAddRecipe.h"
#include "exchange/cImport.h"
#include "platform/text/PageReferences.h"
#include "support/ModalAnswer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// A recipe imported from an XML file without times, and one that an earlier import stored with the time
// "0": amending only its instructions is never refused for a time the user did not touch. A time the user
// types is still checked.
TEST_F(RecipeEditorFromMainWindow, AnImportedRecipeIsAmendedWithoutTouchingItsTimes)
{
    const QString cookbook = makeCookbook();
    writeBytes(program.path("timeless.xml"),
               "<xml xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'><rs:data>"
               "<z:row Title='Cold Soup' Category='Soups' Ingredients='cucumber' Instructions='Chill.'/>"
               "</rs:data></xml>");
    ASSERT_TRUE(basDatabase::OpenCookbook(cookbook));
    ASSERT_TRUE(cImport().ImportXML(program.path("timeless.xml")));
    ScratchProgram::addRecipe("Old Import");
    basDatabase::cnCookbook.exec("UPDATE RECIPES SET PREPTIME='0', COOKTIME='0', TOTALTIME='0' WHERE TITLE='Old Import'");
    basDatabase::CloseCookbook();

    auto w = openWindow(cookbook);
    w->tvRecipes()->setCurrentItem(child(w->tvRecipes(), "Recipes", "List All"));
    w->tvRecipes_DblClick();
    for (const QString title : {"Cold Soup", "Old Import"}) {
        SCOPED_TRACE(title.toStdString());
        auto row = listItem(w->lstVRecipes(), title);
        ASSERT_TRUE(row);
        row->select();
        w->lstVRecipes_Click();
        recorder.boxes.clear();
        editWith(*w, "TOOLBAR:EDITRECIPE", [](frmAddRecipe& e) { e.rtb->setPlainText("Serve cold."); });
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].text, "Recipe updated successfully.");
        db::Query stored(basDatabase::cnCookbook, "SELECT INSTRUCTIONS FROM RECIPES WHERE TITLE=?1", {title});
        ASSERT_TRUE(stored.next());
        EXPECT_EQ(stored.text("INSTRUCTIONS"), "Serve cold.");
    }

    // A time typed into the box is checked as before: the editor stays open with its message.
    recorder.boxes.clear();
    ModalAnswer<frmAddRecipe> answer([&](frmAddRecipe& e) {
        e.txtPrepTime->setText("0:");
        e.cmdOk_Click();
        EXPECT_EQ(recorder.boxes.value(0).text, "Prep Time is invalid should be hh:mm");
        e.cmdCancel_Click();
    });
    w->commandButton("TOOLBAR:EDITRECIPE")->trigger();
    EXPECT_EQ(program.errorLog(), "");
}

} // namespace
