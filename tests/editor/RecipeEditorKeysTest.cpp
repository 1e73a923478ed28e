// The recipe editor from the keyboard: Enter never stores a half-entered recipe, a focused button is
// pressed by Enter, the times are checked however OK is reached, a unit can be cleared, titles are told
// apart as the add check tells them, and a click into a box selects its text.
#include "EditorFixture.h"
#include "support/Keyboard.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

using namespace keyboard;

namespace {

class RecipeEditorKeys : public EditorTest {
protected:
    std::unique_ptr<TestRecipeEditor> openActive(qint64 id = 0)
    {
        auto editor = openEditor(id);
        showActive(*editor);
        return editor;
    }

    static qint64 store(const QString& title)
    {
        return insertRecipe({{"TITLE", title}, {"AUTHOR", "Ann"}, {"CATEGORY", "Soups"}, {"INGREDIENTS", "1 cup water"}, {"INSTRUCTIONS", "Boil."}});
    }
};

TEST_F(RecipeEditorKeys, EnterAddsInTheIngredientAndCategoryBoxesAndSavesNothing)
{
    auto editor = openActive();
    ASSERT_EQ(focused(), editor->txtTitle);
    type("Soup");
    press(Qt::Key_Return);
    ASSERT_TRUE(tabTo(editor->txtAuthor));
    type("Ann");
    press(Qt::Key_Enter);

    ASSERT_TRUE(tabTo(editor->cmbCat));
    type("Winter");
    press(Qt::Key_Return);
    EXPECT_EQ(entries(editor->lstCat), QStringList{"Winter"});

    ASSERT_TRUE(tabTo(editor->txtIng));
    type("2");
    press(Qt::Key_Return); // amount alone: "2" and two blanks, as Add makes it
    ASSERT_TRUE(tabTo(editor->cmbIng));
    press(Qt::Key_Down);   // Eggs
    press(Qt::Key_Return);
    EXPECT_EQ(items(editor->lstVIng), (QStringList{"2  ", "2  Eggs"}));
    EXPECT_EQ(focused(), editor->txtIng);

    ASSERT_TRUE(tabTo(editor->txtCalories));
    press(Qt::Key_Return);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(recipeCount(), 0);
    EXPECT_TRUE(recorder.boxes.isEmpty());

    // Enter on the focused OK saves; nothing else did.
    ASSERT_TRUE(tabTo(editor->cmdOk));
    press(Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible()) << boxTexts().join("|").toStdString();
    ASSERT_EQ(recipeCount(), 1);
    EXPECT_EQ(row(idOf("Soup"))["INGREDIENTS"], "2  \r\n2  Eggs");
}

TEST_F(RecipeEditorKeys, EnterOnTheFocusedCancelOfAnAmendedRecipeCancels)
{
    const qint64 id = store("Stew");
    auto editor = openActive(id);
    ASSERT_EQ(focused(), editor->txtTitle);
    press(Qt::Key_End);
    type(" changed");
    ASSERT_TRUE(tabTo(editor->cmdCancel));
    press(Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(row(id)["TITLE"], "Stew");
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_TRUE(basMain::sEditRecipeKey.isEmpty());
}

TEST_F(RecipeEditorKeys, TimesAreCheckedOnOkHoweverItIsReached)
{
    for (QLineEdit* frmAddRecipe::*box : {&frmAddRecipe::txtPrepTime, &frmAddRecipe::txtCookTime}) {
        recorder.boxes.clear();
        auto editor = openActive();
        type("Soup");
        ASSERT_TRUE(tabTo(editor->txtIng));
        type("1 onion");
        press(Qt::Key_Return);
        QLineEdit* time = (*editor).*box;
        ASSERT_TRUE(tabTo(time));
        type("99:99");
        press(Qt::Key_Return);
        EXPECT_EQ(recipeCount(), 0);

        // A click on OK, and OK pressed from the keyboard once the box was left.
        QTest::mouseClick(editor->cmdOk, Qt::LeftButton);
        EXPECT_EQ(recipeCount(), 0);
        editor->cmdOk->setFocus();
        press(Qt::Key_Return);
        EXPECT_EQ(recipeCount(), 0);
        EXPECT_TRUE(editor->isVisible());
        ASSERT_FALSE(recorder.boxes.isEmpty());
        for (const RecordedBox& shown : recorder.boxes) {
            EXPECT_EQ(shown.text, time == editor->txtPrepTime ? "Prep Time is invalid should be hh:mm"
                                                              : "Cook Time is invalid should be hh:mm");
            EXPECT_EQ(shown.title, "Invalid Time");
        }
        QCoreApplication::processEvents(); // the box takes the focus back once the message is gone
        EXPECT_EQ(focused(), time);
        EXPECT_EQ(time->selectedText(), "99:99"); // typing replaces the wrong time
        editor->close();
    }
}

TEST_F(RecipeEditorKeys, AChosenUnitCanBeClearedForTheNextLine)
{
    auto editor = openActive();
    ASSERT_TRUE(tabTo(editor->txtIng));
    type("3");
    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), editor->cmbUOM);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    ASSERT_EQ(editor->cmbUOM->currentText(), "cup");
    press(Qt::Key_Tab);
    press(Qt::Key_Down); // Eggs
    press(Qt::Key_Return);
    ASSERT_TRUE(tabTo(editor->cmbUOM));
    press(Qt::Key_Up);
    EXPECT_EQ(editor->cmbUOM->currentText(), "");
    press(Qt::Key_Return);
    EXPECT_EQ(items(editor->lstVIng), (QStringList{"3 cup Eggs", "3  Eggs"}));
}

TEST_F(RecipeEditorKeys, AnAmendedTitleIsComparedWithOthersAsTheAddCheckComparesIt)
{
    const qint64 creme = store("Crème brûlée");
    const qint64 tart = store("Tarte");
    auto editor = openActive(tart);
    press(Qt::Key_A, Qt::ControlModifier);
    type("CRÈME BRÛLÉE");
    ASSERT_TRUE(tabTo(editor->cmdOk));
    press(Qt::Key_Return);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "There already is a recipe in the database with this name");
    EXPECT_EQ(recorder.boxes[0].title, "Recipe Error");
    EXPECT_EQ(focused(), editor->txtTitle);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(row(tart)["TITLE"], "Tarte");
    editor->close();

    // A recipe keeps its own title in other letters.
    recorder.boxes.clear();
    auto own = openActive(creme);
    own->txtTitle->setText("CRÈME BRÛLÉE");
    own->cmdOk->setFocus();
    press(Qt::Key_Return);
    EXPECT_FALSE(own->isVisible());
    EXPECT_EQ(row(creme)["TITLE"], "CRÈME BRÛLÉE");
}

TEST_F(RecipeEditorKeys, AClickIntoAnAuthorAmountOrWineBoxSelectsItsText)
{
    const qint64 id = store("Stew");
    db::Query(basDatabase::cnCookbook, "UPDATE RECIPES SET WINE='Rioja' WHERE ID=?1", {id}).exec();
    auto editor = openActive(id);
    editor->txtIng->setText("250 g");
    for (QLineEdit* box : {editor->txtAuthor, editor->txtIng, editor->txtWine}) {
        SCOPED_TRACE(box->objectName().toStdString());
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(4, box->height() / 2));
        EXPECT_EQ(focused(), box);
        EXPECT_EQ(box->selectedText(), box->text());
        // A second click, into the box that has the focus, puts the caret there as usual.
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(4, box->height() / 2));
        EXPECT_FALSE(box->hasSelectedText());
    }
}

TEST_F(RecipeEditorKeys, LabelsNameTheirBoxesAndTabFollowsTheScreen)
{
    auto editor = openActive();
    EXPECT_EQ(editor->lblInfo[1]->buddy(), editor->txtTitle);
    EXPECT_EQ(editor->lblInfo[12]->buddy(), editor->cmbOrigin);
    EXPECT_EQ(editor->lblInfo[13]->buddy(), editor->txtWine);
    // From the title down the left column, then the right one, then the buttons at the foot.
    QList<QWidget*> seen;
    for (int i = 0; i < 40 && !seen.contains(focused()); ++i) {
        seen << focused();
        press(Qt::Key_Tab);
    }
    const auto at = [&](QWidget* w) { return seen.indexOf(w); };
    EXPECT_EQ(at(editor->txtTitle), 0);
    EXPECT_EQ(at(editor->txtAuthor), 1);
    EXPECT_LT(at(editor->txtAuthor), at(editor->cmbCat));
    EXPECT_LT(at(editor->cmbCat), at(editor->txtIng));
    EXPECT_LT(at(editor->txtIng), at(editor->rtb));
    EXPECT_LT(at(editor->rtb), at(editor->txtPrepTime));
    EXPECT_LT(at(editor->txtPrepTime), at(editor->txtWine));
    EXPECT_LT(at(editor->txtWine), at(editor->cmdOk));
    EXPECT_EQ(at(editor->cmdCancel), seen.size() - 1);
}

// Esc and the close box, in a new and in an amended recipe: untouched, the editor closes at once; with a
// change, it asks, "No" (the default) keeps every value, "Yes" closes and stores nothing.
TEST_F(RecipeEditorKeys, EscAndTheCloseBoxAskBeforeTypedWorkIsThrownAway)
{
    const qint64 id = store("Stew");
    const QString question = "You have made changes to this recipe.\nDo you want to close without saving them?";
    for (const bool amend : {false, true})
        for (const bool closeBox : {false, true}) {
            SCOPED_TRACE(testing::Message() << "amend " << amend << ", close box " << closeBox);
            const auto leave = [&](frmAddRecipe& editor) {
                if (closeBox)
                    editor.close();
                else
                    press(Qt::Key_Escape);
            };
            recorder.boxes.clear();
            auto untouched = openActive(amend ? id : 0);
            leave(*untouched);
            EXPECT_FALSE(untouched->isVisible());
            EXPECT_TRUE(recorder.boxes.isEmpty());

            auto editor = openActive(amend ? id : 0);
            press(Qt::Key_End);
            type(" soup");
            ASSERT_TRUE(tabTo(editor->txtIng));
            type("2 leeks");
            recorder.answers.enqueue(ui::Answer::No);
            leave(*editor);
            ASSERT_EQ(recorder.boxes.size(), 1);
            EXPECT_EQ(recorder.boxes[0].text, question);
            EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
            EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
            EXPECT_TRUE(editor->isVisible());
            EXPECT_EQ(editor->txtTitle->text(), amend ? "Stew soup" : " soup");
            EXPECT_EQ(editor->txtIng->text(), "2 leeks");

            recorder.answers.enqueue(ui::Answer::Yes);
            leave(*editor);
            EXPECT_FALSE(editor->isVisible());
            EXPECT_EQ(recipeCount(), 1);
            EXPECT_EQ(row(id)["TITLE"], "Stew");
        }
}

// Ingredient and unit are chosen from their lists: what is typed is kept as typed, a name the list does
// not hold is told with where to add it (and never stored as another entry), a listed one is taken in the
// list's spelling.
TEST_F(RecipeEditorKeys, ANameThatIsNotInTheIngredientOrUnitListIsKeptAndTold)
{
    struct Case {
        QComboBox* frmAddRecipe::*box;
        const char* typed;
        const char* told;
    };
    const Case cases[] = {
        {&frmAddRecipe::cmbIng, "fish", "\"fish\" is not in the list of ingredients."},
        {&frmAddRecipe::cmbUOM, "cupful", "\"cupful\" is not in the list of units."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        recorder.boxes.clear();
        auto editor = openActive();
        QComboBox* box = (*editor).*c.box;
        ASSERT_TRUE(tabTo(editor->txtIng));
        type("2");
        ASSERT_TRUE(tabTo(box));
        type(c.typed);
        press(Qt::Key_Return);
        EXPECT_TRUE(items(editor->lstVIng).isEmpty());
        EXPECT_EQ(box->currentText(), c.typed);
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_TRUE(recorder.boxes[0].text.startsWith(c.told)) << recorder.boxes[0].text.toStdString();
        EXPECT_TRUE(recorder.boxes[0].text.contains("Edit > Edit")) << recorder.boxes[0].text.toStdString();
        EXPECT_EQ(focused(), box);
        editor->close();
    }

    recorder.boxes.clear();
    auto editor = openActive();
    ASSERT_TRUE(tabTo(editor->txtIng));
    type("2");
    press(Qt::Key_Tab);
    type("CU"); // completed to the listed "cup"
    press(Qt::Key_Tab);
    type("fl");
    press(Qt::Key_Return);
    EXPECT_EQ(items(editor->lstVIng), QStringList{"2 cup Flour"});
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

} // namespace

TEST_F(RecipeEditorKeys, TabbingIntoAFilledListSelectsTheRowRemoveThenTakes)
{
    auto editor = openActive();
    ASSERT_TRUE(tabTo(editor->cmbCat));
    for (const char* category : {"Soups", "Winter"}) {
        press(Qt::Key_A, Qt::ControlModifier);
        type(category);
        press(Qt::Key_Return);
    }
    ASSERT_TRUE(tabTo(editor->txtIng));
    for (const char* amount : {"1", "2"}) {
        press(Qt::Key_A, Qt::ControlModifier);
        type(amount);
        press(Qt::Key_Return);
    }
    ASSERT_EQ(entries(editor->lstCat), (QStringList{"Soups", "Winter"}));
    ASSERT_EQ(items(editor->lstVIng), (QStringList{"1  ", "2  "}));

    struct Case {
        QAbstractItemView* list;
        QPushButton* remove;
    };
    for (const Case& c : {Case{editor->lstCat, editor->cmdRemove}, Case{editor->lstVIng, editor->cmdRemoveIng}}) {
        ASSERT_TRUE(tabTo(c.list));
        EXPECT_TRUE(c.list->selectionModel()->isRowSelected(0, {})) << c.list->objectName().toStdString();
        ASSERT_TRUE(tabTo(c.remove));
        press(Qt::Key_Space);
    }
    EXPECT_TRUE(recorder.boxes.isEmpty()) << boxTexts().join("|").toStdString();
    EXPECT_EQ(entries(editor->lstCat), QStringList{"Winter"});
    EXPECT_EQ(items(editor->lstVIng), QStringList{"2  "});
}
