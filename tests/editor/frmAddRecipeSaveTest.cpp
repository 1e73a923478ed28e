// The recipe editor's load, checks and save, read back from a real cookbook file.
#include "EditorFixture.h"
#include "support/SecondProcess.h"

#include "core/CookbookLock.h"
#include "platform/paths/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

namespace {

class RecipeEditorSave : public EditorTest {
protected:
    // Fills every field of the editor with values that hold apostrophes.
    static void fillAll(frmAddRecipe& e)
    {
        e.txtTitle->setText("Mum's Pie");
        e.txtAuthor->setText("O'Brien");
        e.lstCat->addItems({"Desserts", "Grandma's"});
        e.txtIng->setText("2");
        e.cmbUOM->setCurrentIndex(e.cmbUOM->findText("cup"));
        e.cmbIng->setCurrentIndex(e.cmbIng->findText("Flour"));
        e.cmdAddIng_Click();
        e.cmbUOM->setCurrentIndex(-1);
        e.cmbIng->setCurrentIndex(-1);
        e.txtIng->setText("1 baker's egg");
        e.cmdAddIng_Click();
        e.rtb->setPlainText("Mix it.\nBake 'til brown.");
        e.txtPrepTime->setText("00:45");
        e.txtCookTime->setText("01:30");
        e.txtServes->setText("4 o'clock");
        e.txtCalories->setText("300 'ish");
        e.txtWine->setText("Côtes d'Or");
    }

    qint64 storeRecipe(const QVariantMap& columns)
    {
        QVariantMap all = {{"TITLE", "Stored"},  {"AUTHOR", "Ann"},        {"CATEGORY", "Soups"},
                           {"INGREDIENTS", "1 cup water"}, {"INSTRUCTIONS", "Boil."}};
        for (auto it = columns.begin(); it != columns.end(); ++it)
            all[it.key()] = it.value();
        return insertRecipe(all);
    }
};

TEST_F(RecipeEditorSave, NewRecipeEncodesEveryValueAndComputesTheTotal)
{
    auto editor = openEditor();
    EXPECT_EQ(editor->lblInfo[0]->text(), "Add New Recipe");
    EXPECT_EQ(editor->cmbCat->itemText(0), "Desserts") << "categories alphabetical";
    EXPECT_EQ(editor->cmbOrigin->itemText(0), "Finland") << "countries in dictionary order";
    EXPECT_EQ(editor->cmbUOM->currentIndex(), -1);
    fillAll(*editor);
    editor->cmbOrigin->setEditText("Cote d'Ivoire"); // typed, not in the list: stored all the same
    const QString picture = writePicture("pictures/pie.png");
    recorder.files.enqueue({picture});
    editor->cmdPicAdd_Click();

    editor->cmdOk_Click();

    EXPECT_EQ(boxTexts(), QStringList{"Recipe added successfully."});
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry");
    EXPECT_FALSE(editor->isVisible());
    const QVariantMap r = row(idOf("Mum$$s Pie"));
    ASSERT_FALSE(r.isEmpty());
    EXPECT_EQ(r["AUTHOR"], "O$$Brien");
    EXPECT_EQ(r["CATEGORY"], "Desserts,Grandma$$s");
    EXPECT_EQ(r["INGREDIENTS"], "2 cup Flour\r\n1 baker$$s egg  ");
    EXPECT_EQ(r["INSTRUCTIONS"], "Mix it.\r\nBake $$til brown.");
    EXPECT_EQ(r["PREPTIME"], "00:45");
    EXPECT_EQ(r["COOKTIME"], "01:30");
    EXPECT_EQ(r["TOTALTIME"], "02:15");
    EXPECT_EQ(r["YIELD"], "4 o$$clock");
    EXPECT_EQ(r["CALORIESPERSERVING"], "300 $$ish");
    EXPECT_EQ(r["WINE"], "Côtes d$$Or");
    EXPECT_EQ(r["ORIGIN"], "Cote d$$Ivoire");
    EXPECT_EQ(r["MARK"], 0);
    EXPECT_EQ(r["PICTURENAME"], "pie.png");
    EXPECT_EQ(r["RECIPEPICTURE"].toByteArray(), readBytes(picture));
}

TEST_F(RecipeEditorSave, NewRecipeWithEmptyFieldsStoresEmptyTextAndNoPicture)
{
    auto editor = openEditor();
    editor->txtTitle->setText("   "); // blanks pass the title test
    editor->txtIng->setText("salt");
    editor->cmdAddIng_Click();
    editor->txtPrepTime->setText("1:00");
    editor->cmdOk_Click();

    EXPECT_EQ(boxTexts(), QStringList{"Recipe added successfully."});
    const QVariantMap r = row(idOf("   "));
    ASSERT_FALSE(r.isEmpty());
    EXPECT_EQ(r["AUTHOR"], "");
    EXPECT_EQ(r["CATEGORY"], "");
    EXPECT_EQ(r["TOTALTIME"], "") << "no cooking time, no total";
    EXPECT_EQ(r["ORIGIN"], "");
    EXPECT_TRUE(r["PICTURENAME"].isNull());
    EXPECT_TRUE(r["RECIPEPICTURE"].isNull());
}

TEST_F(RecipeEditorSave, AmendShowsTheStoredFormsAndEncodesOnlyTitleAuthorAndWine)
{
    const qint64 id = storeRecipe({{"TITLE", "Mum$$s Pie"},
                                   {"AUTHOR", "  O$$Brien "},
                                   {"CATEGORY", "Desserts, Cakes"},
                                   {"INGREDIENTS", "2 cup Flour\r\n 1 egg \r\n"},
                                   {"INSTRUCTIONS", "  Mix $$em.\r\nBake. "},
                                   {"PREPTIME", " 00:45"},
                                   {"COOKTIME", "01:30"},
                                   {"TOTALTIME", "99:99"},
                                   {"YIELD", "4"},
                                   {"CALORIESPERSERVING", "300"},
                                   {"WINE", " Côtes d$$Or "},
                                   {"ORIGIN", "France"}});
    auto editor = openEditor(id);
    ASSERT_TRUE(editor->loaded());
    EXPECT_EQ(editor->lblInfo[0]->text(), "Edit Recipe");
    EXPECT_EQ(editor->txtTitle->text(), "Mum$$s Pie") << "the title is shown as stored";
    EXPECT_EQ(editor->txtAuthor->text(), "O'Brien");
    EXPECT_EQ(entries(editor->lstCat), (QStringList{"Desserts", "Cakes"}));
    EXPECT_EQ(items(editor->lstVIng), (QStringList{"2 cup Flour", " 1 egg ", ""}));
    EXPECT_EQ(editor->rtb->toPlainText(), "Mix 'em.\nBake.");
    EXPECT_EQ(editor->txtPrepTime->text(), "00:45");
    EXPECT_EQ(editor->txtTotalTime->text(), "") << "the total is not loaded";
    EXPECT_EQ(editor->txtWine->text(), " Côtes d'Or ") << "the wine is not trimmed";
    EXPECT_EQ(editor->cmbOrigin->currentIndex(), -1) << "the origin is not loaded";

    editor->txtAuthor->setText("D'Arcy");
    editor->lstCat->addItem("Grandma's");
    editor->rtb->setPlainText("Mix 'em well.\nBake.");
    editor->txtServes->setText("4 o'clock");
    editor->txtCookTime->setText("02:00");
    editor->cmdOk_Click();

    EXPECT_EQ(boxTexts(), QStringList{"Recipe updated successfully."});
    EXPECT_EQ(basMain::sEditRecipeKey, "R" + QString::number(id));
    const QVariantMap r = row(id);
    EXPECT_EQ(r["TITLE"], "Mum$$s Pie") << "saved unchanged, the title keeps its $$";
    EXPECT_EQ(r["AUTHOR"], "D$$Arcy");
    EXPECT_EQ(r["WINE"], " Côtes d$$Or ");
    EXPECT_EQ(r["CATEGORY"], "Desserts,Cakes,Grandma's");
    EXPECT_EQ(r["INGREDIENTS"], "2 cup Flour\r\n 1 egg \r\n");
    EXPECT_EQ(r["INSTRUCTIONS"], "Mix 'em well.\r\nBake.");
    EXPECT_EQ(r["YIELD"], "4 o'clock");
    EXPECT_EQ(r["TOTALTIME"], "02:45");
    EXPECT_EQ(r["ORIGIN"], "France") << "an origin left alone stays";
}

TEST_F(RecipeEditorSave, AmendWritesTheOriginOnlyWhenAListedCountryIsChosen)
{
    const qint64 id = storeRecipe({{"ORIGIN", "France"}});
    auto typed = openEditor(id);
    typed->cmbOrigin->setEditText("Atlantis");
    typed->cmdOk_Click();
    EXPECT_EQ(row(id)["ORIGIN"], "France");

    auto chosen = openEditor(id);
    chosen->cmbOrigin->setCurrentIndex(chosen->cmbOrigin->findText("Finland"));
    chosen->cmdOk_Click();
    EXPECT_EQ(row(id)["ORIGIN"], "Finland");
}

TEST_F(RecipeEditorSave, StoredEmptyCategoryComesBackEmpty)
{
    const qint64 id = storeRecipe({{"CATEGORY", ""}});
    auto editor = openEditor(id);
    EXPECT_EQ(entries(editor->lstCat), QStringList{""});
    editor->cmdOk_Click();
    EXPECT_EQ(row(id)["CATEGORY"], "");
}

TEST_F(RecipeEditorSave, ChecksStopTheSaveAndKeepEveryEntry)
{
    storeRecipe({{"TITLE", "Mum$$s Pie"}});
    const struct {
        QString title;
        bool ingredient;
        QString message;
    } cases[] = {
        {"", true, "You must enter a title for this recipe"},
        {"Soup", false, "You must enter at least one ingredient for this recipe"},
        {"mum's pie", true, "There already is a recipe in the database with this name"},
    };
    for (const auto& c : cases) {
        recorder.boxes.clear();
        auto editor = openEditor();
        editor->txtTitle->setText(c.title);
        editor->txtAuthor->setText("Ann");
        if (c.ingredient) {
            editor->txtIng->setText("1 onion");
            editor->cmdAddIng_Click();
        }
        editor->cmdOk_Click();
        ASSERT_EQ(boxTexts(), QStringList{c.message});
        EXPECT_EQ(recorder.boxes[0].title, "Recipe Error");
        EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Information);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->txtAuthor->text(), "Ann");
        EXPECT_EQ(editor->txtTitle->text(), c.title);
    }
    EXPECT_EQ(recipeCount(), 1);
}

TEST_F(RecipeEditorSave, AmendingToAnotherRecipesTitleIsRefusedWithoutWriting)
{
    storeRecipe({{"TITLE", "Soup"}});
    const qint64 id = storeRecipe({{"TITLE", "Stew"}});
    auto editor = openEditor(id);
    editor->txtTitle->setText("SOUP");
    editor->txtAuthor->setText("Changed");
    editor->cmdOk_Click();

    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "There already is a recipe in the database with this name");
    EXPECT_EQ(recorder.boxes[0].title, "Recipe Error");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(row(id)["TITLE"], "Stew");
    EXPECT_EQ(row(id)["AUTHOR"], "Ann");
}

TEST_F(RecipeEditorSave, OverlongValuesAreRefusedByNameAndNothingIsWritten)
{
    const qint64 id = storeRecipe({});
    const struct {
        QString field;
        std::function<void(frmAddRecipe&)> fill;
        QString limit;
    } cases[] = {
        {"Author", [](frmAddRecipe& e) { e.txtAuthor->setText(QString(50, '\'') + "a"); }, "50"},
        {"Wine", [](frmAddRecipe& e) { e.txtWine->setText(QString(51, 'w')); }, "50"},
        {"Yield", [](frmAddRecipe& e) { e.txtServes->setText(QString(51, '4')); }, "50"},
        {"Calories Per Serving", [](frmAddRecipe& e) { e.txtCalories->setText(QString(256, '9')); }, "255"},
        {"Cook Time", [](frmAddRecipe& e) { e.txtCookTime->setText("01:30" + QString(46, ' ')); }, "50"},
    };
    for (const qint64 editId : {qint64(0), id}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.field.toStdString() + (editId ? " amend" : " add"));
            recorder.boxes.clear();
            auto editor = openEditor(editId);
            editor->txtTitle->setText("Long");
            editor->txtIng->setText("1 onion");
            editor->cmdAddIng_Click();
            c.fill(*editor);
            editor->cmdOk_Click();
            ASSERT_EQ(recorder.boxes.size(), 1);
            EXPECT_TRUE(recorder.boxes[0].text.contains(c.field + " is too long: at most " + c.limit + " characters"))
                << recorder.boxes[0].text.toStdString();
            EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module cmdOK AddRecipe"));
            EXPECT_TRUE(editor->isVisible());
        }
    }
    EXPECT_EQ(recipeCount(), 1);
    EXPECT_EQ(row(id)["TITLE"], "Stored");
}

// A limit counts the characters the user sees: an apostrophe, stored as "$$", is one of them. So a wine
// picked from the list (whose names hold up to 50) is saved with the recipe, added or amended.
TEST_F(RecipeEditorSave, AFullLengthValueWithAnApostropheIsSaved)
{
    const qint64 id = storeRecipe({});
    const QString wine = QString(49, 'w') + "'";
    const QString author = "O'" + QString(48, 'a');
    for (const qint64 editId : {qint64(0), id}) {
        SCOPED_TRACE(editId ? "amend" : "add");
        recorder.boxes.clear();
        auto editor = openEditor(editId);
        editor->txtTitle->setText(editId ? "Full amended" : "Full");
        editor->txtIng->setText("1 onion");
        editor->cmdAddIng_Click();
        editor->txtWine->setText(wine);
        editor->txtAuthor->setText(author);
        editor->cmdOk_Click();
        EXPECT_FALSE(editor->isVisible()) << boxTexts().join("|").toStdString();
        const QVariantMap saved = row(editId ? editId : idOf("Full"));
        EXPECT_EQ(saved["WINE"], QString(49, 'w') + "$$");
        EXPECT_EQ(saved["AUTHOR"], "O$$" + QString(48, 'a'));
    }
}

TEST_F(RecipeEditorSave, ARecipeThatIsGoneIsReportedAndNeverUpdated)
{
    // Gone before the load: reported, and the editor is not opened.
    auto gone = openEditor(4711);
    EXPECT_FALSE(gone->loaded());
    EXPECT_FALSE(gone->isVisible());
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].title, "Recipe Error");

    // Gone between the load and OK: reported, no success message, nothing written.
    recorder.boxes.clear();
    const qint64 id = storeRecipe({});
    auto editor = openEditor(id);
    basDatabase::cnCookbook.exec("DELETE FROM RECIPES");
    editor->cmdOk_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].title, "Recipe Error");
    EXPECT_FALSE(boxTexts().contains("Recipe updated successfully."));
    EXPECT_EQ(recipeCount(), 0);
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(RecipeEditorSave, AnAmendSavedInAnotherInstanceMeanwhileIsOverwrittenOnlyWhenTheUserSaysSo)
{
    const qint64 id = storeRecipe({{"AUTHOR", "Ann"}, {"INSTRUCTIONS", "Boil."}});
    const QString cookbook = basDatabase::cnCookbook.path();
    auto editor = openEditor(id);
    editor->rtb->setPlainText("Boil for ten minutes.");

    // Another instance amends the author of the same recipe, and marking it elsewhere is no amend.
    basDatabase::cnCookbook.exec(QString("UPDATE RECIPES SET MARK=1 WHERE ID=%1").arg(id));
    editor->cmdOk_Click();
    EXPECT_EQ(boxTexts(), QStringList{"Recipe updated successfully."}) << "only the check mark changed";
    editor = openEditor(id);
    editor->rtb->setPlainText("Boil for an hour.");
    ASSERT_TRUE(runInSecondInstance({"sql", cookbook, QString("UPDATE RECIPES SET AUTHOR='Bob' WHERE ID=%1").arg(id)}));

    // OK asks, "No" first; No writes nothing and keeps the editor open with what was typed.
    recorder.boxes.clear();
    recorder.answers.enqueue(ui::Answer::No);
    editor->cmdOk_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_TRUE(recorder.boxes[0].text.contains("changed in another window")) << recorder.boxes[0].text.toStdString();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->rtb->toPlainText(), "Boil for an hour.");
    EXPECT_EQ(row(id)["AUTHOR"], "Bob");
    EXPECT_EQ(row(id)["INSTRUCTIONS"], "Boil for ten minutes.");

    // Asked again at the next OK; Yes writes the editor's recipe over it.
    recorder.boxes.clear();
    recorder.answers.enqueue(ui::Answer::Yes);
    editor->cmdOk_Click();
    EXPECT_EQ(boxTexts(), (QStringList{recorder.boxes[0].text, "Recipe updated successfully."}));
    EXPECT_EQ(row(id)["AUTHOR"], "Ann");
    EXPECT_EQ(row(id)["INSTRUCTIONS"], "Boil for an hour.");
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(RecipeEditorSave, ALoadFailureClosesTheEditorWithoutSaving)
{
    const qint64 id = storeRecipe({{"CATEGORY", "Soups,Stews"}});
    DE.cn.exec("DROP TABLE ORIGIN");
    auto editor = openEditor(id);
    EXPECT_FALSE(editor->loaded());
    EXPECT_FALSE(editor->isVisible());
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module AddRecipe Form Load"));
    EXPECT_EQ(row(id)["CATEGORY"], "Soups,Stews");
}

TEST_F(RecipeEditorSave, CancelWritesNothingAndForgetsTheKey)
{
    const qint64 id = storeRecipe({});
    auto editor = openEditor(id);
    editor->txtAuthor->setText("Changed");
    editor->cmdCancel_Click();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(basMain::sEditRecipeKey, "");
    EXPECT_EQ(row(id)["AUTHOR"], "Ann");
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

// ---- pictures

TEST_F(RecipeEditorSave, StoredPictureIsShownKeptReplacedOrDeleted)
{
    const QString first = writePicture("pictures/first.png");
    const qint64 id = storeRecipe({{"PICTURENAME", "C:\\Pictures\\first.png"}, {"RECIPEPICTURE", readBytes(first)}});

    // Loaded and kept: the bare stored name, shown from the temporary folder.
    auto keep = openEditor(id);
    EXPECT_EQ(keep->sPicturePath, "first.png");
    EXPECT_FALSE(keep->imgRecipe->pixmap().isNull());
    EXPECT_EQ(readBytes(program.page("first.png")), readBytes(first));
    keep->cmdOk_Click();
    EXPECT_EQ(row(id)["PICTURENAME"], "C:\\Pictures\\first.png");

    // Replaced by a chosen file.
    const QString second = writePicture("pictures/second.bmp", "BMP", Qt::blue);
    recorder.files.enqueue({second});
    auto replace = openEditor(id);
    replace->cmdPicAdd_Click();
    EXPECT_EQ(replace->sPicturePath, second);
    replace->cmdOk_Click();
    EXPECT_EQ(row(id)["PICTURENAME"], "second.bmp");
    EXPECT_EQ(row(id)["RECIPEPICTURE"].toByteArray(), readBytes(second));

    // Deleted: both columns emptied.
    auto remove = openEditor(id);
    remove->cmdPicDelete_Click();
    EXPECT_TRUE(remove->imgRecipe->pixmap().isNull());
    remove->cmdOk_Click();
    EXPECT_TRUE(row(id)["PICTURENAME"].isNull());
    EXPECT_TRUE(row(id)["RECIPEPICTURE"].isNull());
}

TEST_F(RecipeEditorSave, AStoredPictureThatCannotBeShownIsLoggedAndKept)
{
    // A name that holds no file: nothing to show, and the bytes stay.
    const qint64 nameless = storeRecipe({{"TITLE", "Nameless"}, {"PICTURENAME", "C:\\Pictures\\"},
                                         {"RECIPEPICTURE", QByteArray("bytes")}});
    auto first = openEditor(nameless);
    EXPECT_TRUE(first->imgRecipe->pixmap().isNull());
    first->cmdOk_Click();
    EXPECT_EQ(row(nameless)["RECIPEPICTURE"].toByteArray(), QByteArray("bytes"));
    recorder.boxes.clear();

    const qint64 id = storeRecipe({{"PICTURENAME", "broken.jpg"}, {"RECIPEPICTURE", QByteArray("not a picture")}});
    auto editor = openEditor(id);
    ASSERT_TRUE(editor->loaded());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->imgRecipe->pixmap().isNull());
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(program.errorLog().contains("AddRecipe Form Load"));

    editor->txtAuthor->setText("Bea");
    editor->cmdOk_Click();
    EXPECT_EQ(row(id)["AUTHOR"], "Bea");
    EXPECT_EQ(row(id)["PICTURENAME"], "broken.jpg");
    EXPECT_EQ(row(id)["RECIPEPICTURE"].toByteArray(), QByteArray("not a picture"));
}

TEST_F(RecipeEditorSave, APictureThatCannotBeReadFailsTheWholeSave)
{
    const QString picture = writePicture("pictures/gone.png");
    recorder.files.enqueue({picture});
    auto editor = openEditor();
    editor->txtTitle->setText("Soup");
    editor->txtIng->setText("water");
    editor->cmdAddIng_Click();
    editor->cmdPicAdd_Click();
    QFile::remove(picture);
    editor->cmdOk_Click();

    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module cmdOK AddRecipe"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(recipeCount(), 0) << "no recipe without its picture";
}

TEST_F(RecipeEditorSave, AnEmptyPictureFileStoresNoPictureButTheRecipe)
{
    const QString empty = program.path("pictures/empty.png");
    writeBytes(empty, "");
    const QString stored = writePicture("pictures/stored.png");
    const qint64 id = storeRecipe({{"PICTURENAME", "stored.png"}, {"RECIPEPICTURE", readBytes(stored)}});
    auto editor = openEditor(id);
    editor->sPicturePath = empty; // as "Select" would have left it for a picture it could show
    editor->txtAuthor->setText("Bea");
    editor->cmdOk_Click();
    EXPECT_EQ(row(id)["AUTHOR"], "Bea");
    EXPECT_EQ(row(id)["PICTURENAME"], "stored.png");
}

// The cookbook file renamed or deleted by hand, or replaced by another instance's compaction (its lock
// file removed), while a recipe is typed: OK says what happened instead of a bare "readonly database",
// the editor keeps every value, and once a cookbook is at the old place again OK saves into it.
TEST_F(RecipeEditorSave, ACookbookMovedDeletedOrReplacedMeanwhileIsReportedAndNothingTypedIsLost)
{
    const QString folder = paths::programFolder();
    struct Case {
        const char* cookbook;
        std::function<void(const QString& path)> change;
        const char* told;
        std::function<void(const QString& path)> putBack; // null: the cookbook at the old place is used
    };
    const Case cases[] = {
        {"Renamed", [](const QString& path) { ASSERT_TRUE(QFile::rename(path, path + ".away")); }, "It is gone",
         [](const QString& path) { ASSERT_TRUE(QFile::rename(path + ".away", path)); }},
        {"Deleted", [](const QString& path) { ASSERT_TRUE(QFile::remove(path)); }, "It is gone", nullptr},
        {"Replaced",
         [&](const QString& path) {
             ASSERT_TRUE(QFile::remove(basDatabase::CookbookLockPath(path)));
             ASSERT_TRUE(runInSecondInstance({"compact", folder, QFileInfo(path).fileName()}));
         },
         "has been opened again", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cookbook);
        const QString path = basDatabase::CookbookPath(program.createCookbook(c.cookbook));
        auto editor = openEditor();
        fillAll(*editor);
        c.change(path);
        recorder.boxes.clear();
        editor->cmdOk_Click();
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_TRUE(recorder.boxes[0].text.contains("was moved, replaced or deleted since it was opened"))
            << recorder.boxes[0].text.toStdString();
        EXPECT_TRUE(recorder.boxes[0].text.contains(c.told)) << recorder.boxes[0].text.toStdString();
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->txtTitle->text(), "Mum's Pie");
        EXPECT_EQ(editor->lstVIng->topLevelItemCount(), 2);
        EXPECT_EQ(program.errorLog(), "") << "an explained fault is no error record";
        if (QString(c.cookbook) == "Deleted")
            continue;
        if (c.putBack)
            c.putBack(path);
        recorder.boxes.clear();
        editor->cmdOk_Click();
        EXPECT_EQ(boxTexts(), QStringList{"Recipe added successfully."});
        db::Connection check;
        check.open(path);
        db::Query saved(check, "SELECT COUNT(*) AS N FROM RECIPES WHERE TITLE='Mum$$s Pie'");
        ASSERT_TRUE(saved.next());
        EXPECT_EQ(saved.value("N").toInt(), 1);
    }
}

} // namespace
