// The recipe editor's editing aids: ingredient lines, categories, time boxes, the origin type-ahead,
// picture and wine, select-on-entry, centring, the clipboard pane and the instructions editor.
#include "editor/frmAddRecipe.h"
#include "editor/LongTextBox.h"

#include "core/DialogKeys.h"
#include "core/Helpers.h"
#include "core/PageFolder.h"
#include "core/basMain.h"
#include "editor/RecipeFields.h"
#include "editor/frmExpand.h"
#include "editor/frmWineAdd.h"
#include "platform/AppError.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>

namespace {

// Runs an aid whose failures leave the controls as far as they got, without a message.
template <class F>
void IgnoreErrors(F&& body)
{
    try {
        body();
    } catch (...) {
    }
}

void Inform(const QString& text, const QString& title)
{
    ui::msgBox(text, ui::Buttons::OK, ui::Icon::Information, title);
}

// Tabbed into, a list shows the row the keyboard stands on as selected, so that Remove takes the row the
// user sees rather than saying that none is chosen.
void SelectCurrentOnKeyboardEntry(QAbstractItemView* view, const QFocusEvent* event)
{
    if (event->reason() != Qt::TabFocusReason && event->reason() != Qt::BacktabFocusReason)
        return;
    const QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() == 0 || view->selectionModel()->hasSelection())
        return;
    const QModelIndex row = view->currentIndex().isValid() ? view->currentIndex() : model->index(0, 0);
    view->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace

bool frmAddRecipe::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == txtAuthor)
            txtAuthor_GotFocus();
        else if (watched == txtIng)
            txtIng_GotFocus();
        else if (watched == txtWine)
            txtWine_GotFocus();
        else if (watched == lstVIng || watched == lstCat)
            SelectCurrentOnKeyboardEntry(static_cast<QAbstractItemView*>(watched), static_cast<QFocusEvent*>(event));
        break;
    case QEvent::FocusOut: {
        // Leaving a time box within the window validates it; Cancel and other windows do not.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (validating_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            QApplication::focusWidget() == cmdCancel)
            break;
        bool cancel = false;
        if (watched == txtCookTime)
            txtCookTime_Validate(cancel);
        else if (watched == txtPrepTime)
            txtPrepTime_Validate(cancel);
        if (cancel) {
            // Back into the box with its text selected, so that typing replaces the wrong time.
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, [box] {
                box->setFocus();
                box->selectAll();
            });
        }
        break;
    }
    case QEvent::KeyPress: {
        // Enter in the ingredient boxes adds the line, in the category box the category; elsewhere it
        // presses nothing (the editor has no default button).
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsPlainEnter(key)) {
            if (watched == txtIng || watched == cmbUOM || watched == cmbIng) {
                cmdAddIng_Click();
                return true;
            }
            if (watched == cmbCat) {
                cmdAddCat_Click();
                return true;
            }
        }
        if (watched == txtCookTime || watched == txtPrepTime || watched == txtServes || watched == txtTotalTime) {
            const QString typed = key->text();
            if (typed.size() == 1 && (typed[0].unicode() >= 0x20 || typed[0].unicode() == 8)) {
                int ascii = typed[0].unicode();
                txtTime_KeyPress(ascii);
                if (ascii == 0)
                    return true;
            }
        }
        break;
    }
    case QEvent::Resize:
        if (watched == imgRecipe && !picture_.isNull())
            imgRecipe->setPixmap(picture_.scaled(imgRecipe->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- ingredients and categories

void frmAddRecipe::appendIngredient(const QString& line)
{
    auto* item = new QTreeWidgetItem(lstVIng);
    item->setText(0, line);
}

// The entry of a choose-only list that the box names (in the list's spelling), "" for an empty box. A
// name the list does not hold is told, with where to add it, and the box keeps it selected for retyping.
bool frmAddRecipe::chosenEntry(QComboBox* box, const QString& list, const QString& command, QString& entry)
{
    const QString typed = box->currentText();
    const int found = typed.isEmpty() ? -1 : box->findText(typed, Qt::MatchFixedString);
    if (typed.isEmpty() || found >= 0) {
        entry = found >= 0 ? box->itemText(found) : QString();
        return true;
    }
    Inform("\"" + typed + "\" is not in the list of " + list + ".\nChoose one from the list, or add it to the list "
           "first with Edit > " + command + " in the main window.",
           "Ingredient Error");
    box->setFocus();
    box->lineEdit()->selectAll();
    return false;
}

void frmAddRecipe::cmdAddIng_Click()
{
    QString unit;
    QString ingredient;
    if (!chosenEntry(cmbUOM, "units", "Edit Units Of Measure", unit)
        || !chosenEntry(cmbIng, "ingredients", "Edit Ingredients", ingredient))
        return;
    if (txtIng->text().isEmpty() && ingredient.isEmpty()) {
        Inform("Please enter the full ingredient details", "Ingredient Error");
        txtIng->setFocus();
        cmbIng->setFocus();
        return;
    }
    appendIngredient(recipefields::IngredientLine(txtIng->text(), unit, ingredient));
    txtIng->setFocus();
    AutoSizeColumns(lstVIng);
}

void frmAddRecipe::cmdRemoveIng_Click()
{
    QTreeWidgetItem* selected = lstVIng->selectedItems().value(0);
    if (!selected) {
        Inform("Please select the ingredient to remove", "Remove..");
        return;
    }
    delete selected;
    AutoSizeColumns(lstVIng);
}

void frmAddRecipe::cmdAddCat_Click()
{
    const QString category = cmbCat->currentText();
    if (category.isEmpty())
        return;
    for (int i = 0; i < lstCat->count(); ++i)
        if (lstCat->item(i)->text().toLower() == category.toLower())
            return;
    lstCat->addItem(category);
}

void frmAddRecipe::cmdRemove_Click()
{
    const QList<QListWidgetItem*> selected = lstCat->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
}

// ---- times and yield

void frmAddRecipe::txtTime_KeyPress(int& KeyAscii) { KeyAscii = FilterKey(KeyAscii, "1234567890:", true); }

bool frmAddRecipe::validateTime(QLineEdit* box, const QString& message)
{
    const auto stored = storedTimes_.constFind(box);
    if (box->text().isEmpty() || recipefields::IsTimeText(box->text()) ||
        (stored != storedTimes_.constEnd() && *stored == box->text()))
        return true;
    validating_ = true;
    Inform(message, "Invalid Time");
    validating_ = false;
    return false;
}

void frmAddRecipe::txtCookTime_Validate(bool& Cancel)
{
    Cancel = !validateTime(txtCookTime, "Cook Time is invalid should be hh:mm");
    if (!Cancel)
        txtTotalTime->setText(CalcTotalTime());
}

void frmAddRecipe::txtPrepTime_Validate(bool& Cancel)
{
    // The total shown changes only when the cooking time is left.
    Cancel = !validateTime(txtPrepTime, "Prep Time is invalid should be hh:mm");
}

QString frmAddRecipe::CalcTotalTime() const
{
    return recipefields::TotalTime(txtPrepTime->text(), txtCookTime->text());
}

// ---- origin type-ahead: the first country that begins with what was typed, the caret after the typing

void frmAddRecipe::cmbOrigin_Change()
{
    QLineEdit* edit = cmbOrigin->lineEdit();
    const int pos = edit->cursorPosition();
    const QString prefix = edit->text().left(pos);
    const int found = prefix.isEmpty() ? -1 : cmbOrigin->findText(prefix, Qt::MatchStartsWith);
    cmbOrigin->setCurrentIndex(found);
    cmbOrigin->setEditText(found >= 0 ? cmbOrigin->itemText(found) : prefix);
    edit->setCursorPosition(pos);
}

// ---- picture

bool frmAddRecipe::showImage(const QImage& image)
{
    if (image.isNull())
        return false;
    picture_ = QPixmap::fromImage(image);
    imgRecipe->setPixmap(picture_.scaled(imgRecipe->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return true;
}

void frmAddRecipe::showPicture(const QString& path)
{
    if (!showImage(QImage(path)))
        throw AppError(481, "Invalid picture: " + paths::bareFileName(path));
}

void frmAddRecipe::cmdPicAdd_Click()
{
    IgnoreErrors([&] {
        const QString file = ui::getOpenFileName("Please choose a picture", QString(),
                                                 "Picture Files (*.bmp *.gif *.jpg);;All Files (*)");
        if (file.isEmpty())
            return;
        if (showImage(QImage(file)))
            sPicturePath = file;
        else // the recipe keeps the picture it had
            Inform("\"" + paths::bareFileName(file) + "\" is not a picture that can be shown.\n"
                   "Please choose a picture file (bmp, gif, jpg or png).",
                   "Picture Error");
    });
}

void frmAddRecipe::cmdPastePic_Click()
{
    IgnoreErrors([&] {
        const QImage image = QApplication::clipboard()->image();
        if (image.isNull())
            return;
        const QString file = pagefolder::path() + "/1.bmp";
        if (image.save(file, "BMP") && showImage(image))
            sPicturePath = file;
    });
}

void frmAddRecipe::cmdPicDelete_Click()
{
    picture_ = QPixmap();
    imgRecipe->clear();
    sPicturePath.clear();
}

// ---- wine

void frmAddRecipe::openWineList()
{
    frmWineAdd dlg(this);
    dlg.exec();
}

void frmAddRecipe::cmdWine_Click()
{
    basMain::RunHandler("cmdWine Click addRecipe", [&] {
        basMain::bPickWine = true;
        openWineList();
        basMain::bPickWine = false; // the wine list clears it when it loads; never leave it set
        if (!basMain::sSelectedWine.isEmpty()) {
            txtWine->setText(basMain::sSelectedWine.split("##").first());
            basMain::sSelectedWine.clear();
        }
    });
}

// ---- select on entry

void frmAddRecipe::txtAuthor_GotFocus() { SelectAllText(txtAuthor); }
void frmAddRecipe::txtIng_GotFocus() { SelectAllText(txtIng); }
void frmAddRecipe::txtWine_GotFocus() { SelectAllText(txtWine); }

// ---- centring

void frmAddRecipe::CenterForm(QWidget* frm)
{
    IgnoreErrors([&] {
        if (!frm || frm->isMinimized() || frm->isMaximized() || !frm->screen())
            return;
        const QRect screen = frm->screen()->geometry();
        const QRect frame = frm->frameGeometry();
        frm->move(screen.x() + (screen.width() - frame.width()) / 2,
                  screen.y() + (screen.height() - frame.height()) / 2);
    });
}

// ---- clipboard pane

int frmAddRecipe::twipsToPixels(int twips) const { return static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0)); }

void frmAddRecipe::cmdClip_Click()
{
    if (cmdClip->text() == "Clipboard >>") {
        leftBeforePane_ = x();
        move(0, y());
        fraClip->show();
        layout()->activate();
        resize(twipsToPixels(kWideWidthTwips), height());
        cmdClip->setText("<< Clipboard");
    } else {
        move(leftBeforePane_, y());
        fraClip->hide();
        layout()->activate();
        resize(twipsToPixels(kWidthTwips), height());
        cmdClip->setText("Clipboard >>");
    }
    // Centred across the screen at the new width. The height has not changed, so the top stays where it
    // is: centring the frame again would move the window down by its title bar whenever it had been
    // placed by its client area (as a dialog is over its owner).
    const int top = y();
    CenterForm(this);
    move(x(), top);
}

void frmAddRecipe::cmdResetClipboard_Click()
{
    IgnoreErrors([&] { SetBoxText(rtbClip, QApplication::clipboard()->text()); });
}

void frmAddRecipe::cmdAction_Click(int Index)
{
    // The selection's paragraph breaks come as U+2029.
    const QString selected = rtbClip->textCursor().selectedText();
    if (selected.isEmpty()) {
        Inform("Please select some text first", "CLipboard Import");
        return;
    }
    IgnoreErrors([&] {
        const QString line = recipefields::SingleLine(selected);
        switch (Index) {
        case 0: txtTitle->setText(line); break;
        case 1: txtAuthor->setText(line); break;
        case 2: txtServes->setText(line); break;
        case 3: txtPrepTime->setText(line); break;
        case 4: txtCookTime->setText(line); break;
        case 5: lstCat->addItems(recipefields::CategoriesFromSelection(line)); break;
        case 6: SetBoxText(rtb, recipefields::FromCrLf(text::toCrLf(selected))); break;
        case 7:
            for (const QString& line : recipefields::LinesOfSelection(selected))
                appendIngredient(line);
            AutoSizeColumns(lstVIng);
            break;
        default: break;
        }
    });
}

// ---- instructions editor

void frmAddRecipe::cmdExpand_Click()
{
    frmExpand expand(rtb, this);
    expand.exec();
}
