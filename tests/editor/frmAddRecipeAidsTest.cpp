// The recipe editor's aids: ingredient lines, categories, time boxes, origin type-ahead, picture, wine,
// the clipboard pane and the instructions editor.
#include "EditorFixture.h"
#include "editor/frmExpand.h"
#include "editor/frmWineAdd.h"
#include "support/ModalAnswer.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using RecipeEditorAids = EditorTest;

TEST_F(RecipeEditorAids, IngredientLinesAreComposedAndRemoved)
{
    auto e = openEditor();
    e->cmdAddIng_Click();
    ASSERT_EQ(boxTexts(), QStringList{"Please enter the full ingredient details"});
    EXPECT_EQ(recorder.boxes[0].title, "Ingredient Error");
    EXPECT_EQ(e->lstVIng->topLevelItemCount(), 0);

    e->cmbUOM->setCurrentIndex(e->cmbUOM->findText("cup"));
    e->cmbIng->setCurrentIndex(e->cmbIng->findText("Flour"));
    e->cmdAddIng_Click(); // no amount, but an ingredient
    e->txtIng->setText("2");
    e->cmbUOM->setCurrentIndex(-1);
    e->cmdAddIng_Click();
    e->cmbIng->setCurrentIndex(-1);
    e->cmdAddIng_Click();
    EXPECT_EQ(items(e->lstVIng), (QStringList{" cup Flour", "2  Flour", "2  "}));
    EXPECT_EQ(e->txtIng->text(), "2") << "the entry boxes keep their contents";

    recorder.boxes.clear();
    e->lstVIng->clearSelection();
    e->cmdRemoveIng_Click();
    ASSERT_EQ(boxTexts(), QStringList{"Please select the ingredient to remove"});
    EXPECT_EQ(recorder.boxes[0].title, "Remove..");
    e->lstVIng->topLevelItem(1)->setSelected(true);
    e->cmdRemoveIng_Click();
    EXPECT_EQ(items(e->lstVIng), (QStringList{" cup Flour", "2  "}));
}

TEST_F(RecipeEditorAids, CategoriesAreAddedOnceIgnoringLetterCase)
{
    auto e = openEditor();
    e->cmdAddCat_Click(); // empty: nothing
    for (const QString& typed : {"Soups", "SOUPS", " Soups", "Grandma's"}) {
        e->cmbCat->setEditText(typed);
        e->cmdAddCat_Click();
    }
    EXPECT_EQ(entries(e->lstCat), (QStringList{"Soups", " Soups", "Grandma's"}));
    e->lstCat->clearSelection();
    e->cmdRemove_Click();
    EXPECT_EQ(e->lstCat->count(), 3);
    e->lstCat->item(0)->setSelected(true);
    e->cmdRemove_Click();
    EXPECT_EQ(entries(e->lstCat), (QStringList{" Soups", "Grandma's"}));
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(RecipeEditorAids, TimeBoxesTakeDigitsAndColonsAndAreCheckedWhenLeft)
{
    auto e = openEditor();
    e->txtServes->setFocus();
    for (const QString& typed : {"4", "a", ":", " ", ".", "x", "2"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QApplication::sendEvent(e->txtServes, &press);
    }
    EXPECT_EQ(e->txtServes->text(), "4:2");

    e->txtPrepTime->setText("0:45");
    e->txtCookTime->setText("1:30");
    bool cancel = true;
    e->txtCookTime_Validate(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(e->txtTotalTime->text(), "02:15");
    e->txtPrepTime->setText("1:00");
    e->txtPrepTime_Validate(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(e->txtTotalTime->text(), "02:15") << "only leaving the cooking time recomputes";

    e->txtPrepTime->setText("");
    e->txtCookTime_Validate(cancel);
    EXPECT_EQ(e->txtTotalTime->text(), "");
    EXPECT_TRUE(recorder.boxes.isEmpty());

    e->txtCookTime->setText("90:00");
    e->txtCookTime_Validate(cancel);
    EXPECT_TRUE(cancel);
    e->txtPrepTime->setText("1:75");
    e->txtPrepTime_Validate(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(boxTexts(), (QStringList{"Cook Time is invalid should be hh:mm", "Prep Time is invalid should be hh:mm"}));
    EXPECT_EQ(recorder.boxes[0].title, "Invalid Time");
}

TEST_F(RecipeEditorAids, OriginTypeAheadShowsTheFirstMatchingCountry)
{
    auto e = openEditor();
    QLineEdit* edit = e->cmbOrigin->lineEdit();
    const auto type = [&](const QString& textBefore, int caret) {
        edit->setText(textBefore);
        edit->setCursorPosition(caret);
        e->cmbOrigin_Change();
    };

    type("fi", 2);
    EXPECT_EQ(e->cmbOrigin->currentText(), "Finland");
    EXPECT_EQ(e->cmbOrigin->currentIndex(), e->cmbOrigin->findText("Finland"));
    EXPECT_EQ(edit->cursorPosition(), 2);

    type("Franland", 3); // "r" typed after "F" of "Finland"
    EXPECT_EQ(e->cmbOrigin->currentText(), "France");
    EXPECT_EQ(edit->cursorPosition(), 3);

    type("Frqnce", 3); // nothing begins with "Frq": what stood after the caret goes
    EXPECT_EQ(e->cmbOrigin->currentText(), "Frq");
    EXPECT_EQ(e->cmbOrigin->currentIndex(), -1);
    EXPECT_EQ(edit->cursorPosition(), 3);

    type("", 0);
    EXPECT_EQ(e->cmbOrigin->currentText(), "") << "an emptied box stays empty";
    EXPECT_EQ(e->cmbOrigin->currentIndex(), -1);
}

TEST_F(RecipeEditorAids, PictureChangesOnlyWhenAnImageWasObtained)
{
    auto e = openEditor();
    const QString real = writePicture("pictures/real.jpg", "JPG");
    const QString fake = program.path("pictures/fake.jpg");
    writeBytes(fake, "this is no image");

    recorder.files.enqueue({real});
    e->cmdPicAdd_Click();
    ASSERT_EQ(recorder.dialogs.size(), 1);
    EXPECT_EQ(recorder.dialogs[0].title, "Please choose a picture");
    EXPECT_EQ(e->sPicturePath, real);
    EXPECT_FALSE(e->imgRecipe->pixmap().isNull());

    recorder.files.enqueue({fake});
    e->cmdPicAdd_Click(); // not an image: said so
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.startsWith("\"fake.jpg\" is not a picture")) << recorder.boxes[0].text.toStdString();
    recorder.boxes.clear();
    e->cmdPicAdd_Click(); // cancelled: nothing said
    EXPECT_EQ(e->sPicturePath, real);

    QApplication::clipboard()->setText("no picture here");
    e->cmdPastePic_Click();
    EXPECT_EQ(e->sPicturePath, real);

    QImage pasted(5, 5, QImage::Format_RGB32);
    pasted.fill(Qt::green);
    QApplication::clipboard()->setImage(pasted);
    e->cmdPastePic_Click();
    const QString bmp = program.page("1.bmp");
    EXPECT_EQ(e->sPicturePath, bmp);
    EXPECT_EQ(QImage(bmp).pixel(2, 2), QColor(Qt::green).rgb());

    e->cmdPicDelete_Click();
    EXPECT_EQ(e->sPicturePath, "");
    EXPECT_TRUE(e->imgRecipe->pixmap().isNull());
    QApplication::clipboard()->clear();
    e->cmdPastePic_Click(); // the earlier paste's file is not picked up again
    EXPECT_EQ(e->sPicturePath, "");
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(RecipeEditorAids, PickTakesTheChosenWineName)
{
    auto e = openEditor();
    e->txtWine->setText("House red");
    e->wineList = [] {}; // closed without choosing
    e->cmdWine_Click();
    EXPECT_TRUE(e->pickWineWhenOpened);
    EXPECT_EQ(e->txtWine->text(), "House red");

    e->wineList = [] { basMain::sSelectedWine = "Côtes du Rhône##W7"; };
    e->cmdWine_Click();
    EXPECT_EQ(e->txtWine->text(), "Côtes du Rhône");
    EXPECT_EQ(basMain::sSelectedWine, "");
    EXPECT_FALSE(basMain::bPickWine);
}

TEST_F(RecipeEditorAids, PickFromTheWineListPutsTheSelectedWineIntoTheRecipe)
{
    DE.cn.exec("INSERT INTO WINES (\"WINE NAME\", TYPE) VALUES ('Chablis', 'White'), ('Barolo', 'Red')");
    auto e = openEditor();
    e->realWineList = true;
    bool selectShown = false;
    {
        ModalAnswer<frmWineAdd> answer([&](frmWineAdd& list) {
            selectShown = list.cmdSelect->isVisible();
            for (int i = 0; i < list.lstvWines->topLevelItemCount(); ++i)
                if (list.lstvWines->topLevelItem(i)->text(0) == "Barolo")
                    list.lstvWines->setCurrentItem(list.lstvWines->topLevelItem(i));
            list.lstvWines_Click();
            list.cmdSelect_Click();
        });
        e->cmdWine_Click();
    }
    EXPECT_TRUE(selectShown);
    EXPECT_EQ(e->txtWine->text(), "Barolo");
    EXPECT_EQ(basMain::sSelectedWine, "");
    EXPECT_FALSE(basMain::bPickWine);

    {
        ModalAnswer<frmWineAdd> answer([](frmWineAdd& list) { list.cmdClose_Click(); }); // closed without a pick
        e->cmdWine_Click();
    }
    EXPECT_EQ(e->txtWine->text(), "Barolo");
}

TEST_F(RecipeEditorAids, CopyActionsPutTheSelectionIntoTheirField)
{
    QApplication::clipboard()->setText("Old");
    auto e = openEditor();
    EXPECT_EQ(e->rtbClip->toPlainText(), "Old");
    QApplication::clipboard()->setText("Lemon Tart\nby Ann\nserves 6\n0:20\nxx\nDesserts, Tarts ,  Baking\n"
                                       "Bake it.\n1 lemon\n\n 2 eggs \n");
    e->cmdResetClipboard_Click();
    const QString clip = e->rtbClip->toPlainText();
    const auto copy = [&](const QString& piece, int index) {
        const int from = clip.indexOf(piece);
        selectClip(*e, from, from + piece.size());
        e->cmdAction_Click(index);
    };

    e->lstVIng->addTopLevelItem(new QTreeWidgetItem(QStringList{"salt"}));
    copy("Lemon Tart\n", 0); // a whole line, break included
    copy("by Ann", 1);
    copy("serves 6", 2);
    copy("0:20\n", 3);
    copy("xx", 4); // no time, taken all the same
    copy("Desserts, Tarts ,  Baking\n", 5);
    copy("Bake it.", 6);
    copy("1 lemon\n\n 2 eggs \n", 7);
    copy("serves", 5); // one category, as selected

    EXPECT_EQ(e->txtTitle->text(), "Lemon Tart");
    EXPECT_EQ(e->txtAuthor->text(), "by Ann");
    EXPECT_EQ(e->txtServes->text(), "serves 6");
    EXPECT_EQ(e->txtPrepTime->text(), "0:20");
    EXPECT_EQ(e->txtCookTime->text(), "xx");
    EXPECT_EQ(entries(e->lstCat), (QStringList{"Desserts", "Tarts", "Baking", "serves"}));
    EXPECT_EQ(e->rtb->toPlainText(), "Bake it.");
    EXPECT_EQ(items(e->lstVIng), (QStringList{"salt", "1 lemon", "", "2 eggs", ""}));
    EXPECT_TRUE(recorder.boxes.isEmpty());

    bool cancel = false;
    e->txtCookTime_Validate(cancel);
    EXPECT_TRUE(cancel) << "a copied time is checked when its box is left";

    recorder.boxes.clear();
    selectClip(*e, 0, 0);
    for (int index : {0, 7}) {
        e->cmdAction_Click(index);
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_EQ(recorder.boxes[0].text, "Please select some text first");
        EXPECT_EQ(recorder.boxes[0].title, "CLipboard Import");
        recorder.boxes.clear();
    }
    EXPECT_EQ(e->txtTitle->text(), "Lemon Tart");
}

TEST_F(RecipeEditorAids, ClipboardPaneWidensTheWindowAndStaysCentred)
{
    auto e = openEditor();
    const int narrow = e->width();
    const int top = e->y();
    EXPECT_FALSE(e->fraClip->isVisible());
    EXPECT_EQ(e->cmdClip->text(), "Clipboard >>");

    e->cmdClip_Click();
    EXPECT_TRUE(e->fraClip->isVisible());
    EXPECT_EQ(e->cmdClip->text(), "<< Clipboard");
    EXPECT_EQ(e->width(), qRound(14565 * e->logicalDpiX() / 1440.0));
    const QRect screen = e->screen()->geometry();
    EXPECT_NEAR(e->frameGeometry().center().x(), screen.center().x(), 2);

    e->cmdClip_Click();
    EXPECT_FALSE(e->fraClip->isVisible());
    EXPECT_EQ(e->cmdClip->text(), "Clipboard >>");
    EXPECT_EQ(e->width(), narrow);
    EXPECT_NEAR(e->frameGeometry().center().x(), screen.center().x(), 2);
    EXPECT_EQ(e->y(), top) << "the window does not move down as the pane opens and closes";
}

TEST_F(RecipeEditorAids, InstructionsEditorCopiesBackHoweverItCloses)
{
    auto e = openEditor();
    e->rtb->setPlainText("Step one.");
    {
        ModalAnswer<frmExpand> answer([](frmExpand& expand) {
            EXPECT_EQ(expand.windowTitle(), "Editing..");
            EXPECT_EQ(expand.rtbText->toPlainText(), "Step one.");
            expand.rtbText->setPlainText("Step one.\nStep two.");
            expand.cmdOk_Click();
        });
        e->cmdExpand_Click();
    }
    EXPECT_EQ(e->rtb->toPlainText(), "Step one.\nStep two.");

    for (const auto& closeIt : std::initializer_list<std::function<void(frmExpand&)>>{
             [](frmExpand& d) { d.close(); },  // the close box
             [](frmExpand& d) { d.reject(); }, // Escape
         }) {
        frmExpand expand(e->rtb, e.get());
        expand.show();
        expand.rtbText->setPlainText("Edited " + e->rtb->toPlainText());
        closeIt(expand);
        EXPECT_FALSE(expand.isVisible());
    }
    EXPECT_EQ(e->rtb->toPlainText(), "Edited Edited Step one.\nStep two.");
}

} // namespace
