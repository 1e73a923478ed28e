#include "editor/frmAddRecipe.h"
#include "editor/LongTextBox.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/DE.h"
#include "core/Helpers.h"
#include "core/PageFolder.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "editor/RecipeFields.h"
#include "editor/RecipeWriter.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/TextRules.h"
#include "platform/text/DictionaryOrder.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>


namespace {

constexpr int kHeightTwips = 8400;

template <class T>
T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLineEdit* LineEdit(QWidget* parent, const QString& name) { return Named(new QLineEdit(parent), name); }

// A combo as narrow as its place allows, whatever the length of its entries.
QComboBox* Combo(QWidget* parent, const QString& name)
{
    auto* c = Named(new QComboBox(parent), name);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(6);
    return c;
}

// A combo whose value must be one of its entries, starting with none chosen. What is typed stays as
// typed (completed inline while it begins an entry), so a name that is not listed is never silently
// taken for another one: Add tells it (see chosenEntry).
QComboBox* PickList(QWidget* parent, const QString& name, const QString& placeholder)
{
    auto* c = Combo(parent, name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    c->completer()->setCompletionMode(QCompleter::InlineCompletion);
    c->lineEdit()->setPlaceholderText(placeholder);
    c->setCurrentIndex(-1);
    return c;
}

// A combo whose entries can be chosen or a name typed; no completion or insertion of its own.
QComboBox* TypedList(QWidget* parent, const QString& name)
{
    auto* c = Combo(parent, name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->setCurrentIndex(-1);
    return c;
}

// The entries of one reference list in the user's dictionary order.
void FillPickList(QComboBox* combo, const QString& sql, const QString& field)
{
    QStringList entries;
    db::Query rows(DE.cn, sql);
    while (rows.next())
        entries << rows.text(field);
    combo->addItems(text::sortedInDictionaryOrder(entries));
    combo->setCurrentIndex(-1);
}

const char* const kFieldLabels[] = {"Title:",        "Author:",     "Categories:", "Ingredients:", "Instructions:",
                                    "Prep Time:",    "Cook Time:",  "Total Time:", "Yield:",
                                    "Calories Per Serving:",        "Image:",      "Origin:",      "Wine:"};
enum Label { Title = 1, Author, Categories, Ingredients, Instructions, PrepTime, CookTime, TotalTime, Yield,
             Calories, Image, Origin, Wine };

} // namespace

frmAddRecipe::frmAddRecipe(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAddRecipe");
    setWindowTitle("Add / Amend Recipe");
    setModal(true);
    buildControls();

    connect(cmdOk, &QPushButton::clicked, this, &frmAddRecipe::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddRecipe::cmdCancel_Click);
    connect(cmdAddIng, &QPushButton::clicked, this, &frmAddRecipe::cmdAddIng_Click);
    connect(cmdRemoveIng, &QPushButton::clicked, this, &frmAddRecipe::cmdRemoveIng_Click);
    connect(cmdAddCat, &QPushButton::clicked, this, &frmAddRecipe::cmdAddCat_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmAddRecipe::cmdRemove_Click);
    connect(cmdPicAdd, &QPushButton::clicked, this, &frmAddRecipe::cmdPicAdd_Click);
    connect(cmdPastePic, &QPushButton::clicked, this, &frmAddRecipe::cmdPastePic_Click);
    connect(cmdPicDelete, &QPushButton::clicked, this, &frmAddRecipe::cmdPicDelete_Click);
    connect(cmdWine, &QPushButton::clicked, this, &frmAddRecipe::cmdWine_Click);
    connect(cmdExpand, &QPushButton::clicked, this, &frmAddRecipe::cmdExpand_Click);
    connect(cmdClip, &QPushButton::clicked, this, &frmAddRecipe::cmdClip_Click);
    connect(cmdResetClipboard, &QPushButton::clicked, this, &frmAddRecipe::cmdResetClipboard_Click);
    for (int i = 0; i < cmdAction.size(); ++i)
        connect(cmdAction[i], &QPushButton::clicked, this, [this, i] { cmdAction_Click(i); });
    connect(cmbOrigin->lineEdit(), &QLineEdit::textEdited, this, &frmAddRecipe::cmbOrigin_Change);
    for (QWidget* box : {static_cast<QWidget*>(txtAuthor), static_cast<QWidget*>(txtIng),
                         static_cast<QWidget*>(txtWine), static_cast<QWidget*>(txtCookTime),
                         static_cast<QWidget*>(txtPrepTime), static_cast<QWidget*>(txtServes),
                         static_cast<QWidget*>(txtTotalTime), static_cast<QWidget*>(cmbUOM),
                         static_cast<QWidget*>(cmbIng), static_cast<QWidget*>(cmbCat)})
        box->installEventFilter(this);
    imgRecipe->installEventFilter(this);
    lstVIng->installEventFilter(this);
    lstCat->installEventFilter(this);
    for (QLineEdit* box : {txtAuthor, txtIng, txtWine})
        SelectAllOnClick(box);
    EnterPressesFocusedButton(this);
    typedWork_.leaveOut(fraClip);
    typedWork_.extra = [this] { return sPicturePath; };
    typedWork_.keep();
}

void frmAddRecipe::buildControls()
{
    QVBoxLayout* layout = BannerLayout(this, "Add New Recipe");
    lblInfo << findChild<QLabel*>("lblInfo");
    lblInfo[0]->setObjectName("lblInfo_0");
    lblInfo[0]->setStyleSheet(lblInfo[0]->styleSheet().replace("#lblInfo ", "#lblInfo_0 "));
    lblInfo[0]->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 13; ++i)
        lblInfo << Named(new QLabel(kFieldLabels[i], this), QString("lblInfo_%1").arg(i + 1));

    // No default button: Enter in a box never saves a half-entered recipe (see eventFilter).
    cmdOk = NamedButton(this, "cmdOk", "OK");
    cmdCancel = NamedButton(this, "cmdCancel", "Cancel");
    cmdClip = NamedButton(this, "cmdClip", "Clipboard >>");

    auto* body = new QHBoxLayout;
    body->addWidget(buildFields(), 1);
    body->addWidget(buildClipboardPane());
    fraClip->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdClip);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    tieLabelsAndTabOrder();
}

// Every label names its box (the box's accessible name); Tab follows the screen: the left column row by
// row, the right column, the clipboard pane, then the buttons at the foot.
void frmAddRecipe::tieLabelsAndTabOrder()
{
    const std::pair<int, QWidget*> buddies[] = {
        {Title, txtTitle},         {Author, txtAuthor},     {Categories, cmbCat},     {Ingredients, txtIng},
        {Instructions, rtb},       {PrepTime, txtPrepTime}, {CookTime, txtCookTime}, {TotalTime, txtTotalTime},
        {Yield, txtServes},        {Calories, txtCalories}, {Origin, cmbOrigin},      {Wine, txtWine}};
    for (const auto& [label, box] : buddies)
        TieLabel(lblInfo[label], box);
    TieLabel(Label1, rtbClip);
    lstCat->setAccessibleName("Categories");
    lstVIng->setAccessibleName("Ingredients");
    txtIng->setAccessibleName("Amount");
    for (auto [combo, name] : {std::pair{cmbUOM, "Unit"}, std::pair{cmbIng, "Ingredient"}}) {
        combo->setAccessibleName(name);
        combo->lineEdit()->setAccessibleName(name);
    }

    QList<QWidget*> order{txtTitle,    txtAuthor,   cmbCat,       cmdAddCat,   lstCat,    cmdRemove,
                          txtIng,      cmbUOM,      cmbIng,       cmdAddIng,   lstVIng,   cmdRemoveIng,
                          rtb,         cmdExpand,   txtPrepTime,  txtCookTime, txtTotalTime, txtServes,
                          txtCalories, cmbOrigin,   txtWine,      cmdWine,     cmdPicAdd, cmdPastePic,
                          cmdPicDelete, rtbClip,    cmdResetClipboard};
    for (QPushButton* action : cmdAction)
        order << action;
    order << cmdClip << cmdOk << cmdCancel;
    ChainTabOrder(order);
    txtTitle->setFocus();
}

QWidget* frmAddRecipe::buildFields()
{
    auto* fields = new QWidget(this);

    txtTitle = LineEdit(fields, "txtTitle");
    txtAuthor = LineEdit(fields, "txtAuthor");

    cmbCat = TypedList(fields, "cmbCat");
    cmdAddCat = NamedButton(fields, "cmdAddCat", "Add");
    cmdRemove = NamedButton(fields, "cmdRemove", "Remove");
    lstCat = Named(new QListWidget(fields), "lstCat");
    lstCat->setSelectionMode(QAbstractItemView::SingleSelection);

    txtIng = LineEdit(fields, "txtIng");
    txtIng->setPlaceholderText("Amount");
    txtIng->setMinimumWidth(56);
    cmbUOM = PickList(fields, "cmbUOM", "Unit");
    cmbIng = PickList(fields, "cmbIng", "Ingredient");
    for (QComboBox* narrow : {cmbUOM, cmbIng})
        narrow->setMinimumContentsLength(3);
    cmdAddIng = NamedButton(fields, "cmdAddIng", "Add");
    cmdRemoveIng = NamedButton(fields, "cmdRemoveIng", "Remove");
    lstVIng = Named(new QTreeWidget(fields), "lstVIng");
    lstVIng->setColumnCount(1);
    lstVIng->setHeaderLabels({"Ingredient"});
    lstVIng->setRootIsDecorated(false);
    lstVIng->setSelectionMode(QAbstractItemView::SingleSelection);

    rtb = Named(new QPlainTextEdit(fields), "rtb");
    rtb->setTabChangesFocus(true);
    cmdExpand = NamedButton(fields, "cmdExpand", "Expand");

    txtPrepTime = LineEdit(fields, "txtPrepTime");
    txtCookTime = LineEdit(fields, "txtCookTime");
    txtTotalTime = LineEdit(fields, "txtTotalTime");
    for (QLineEdit* box : {txtPrepTime, txtCookTime, txtTotalTime})
        box->setPlaceholderText("hh:mm");
    txtServes = LineEdit(fields, "txtServes");
    txtCalories = LineEdit(fields, "txtCalories");
    cmbOrigin = TypedList(fields, "cmbOrigin");
    txtWine = LineEdit(fields, "txtWine");
    cmdWine = NamedButton(fields, "cmdWine", "Pick");

    imgRecipe = Named(new QLabel(fields), "imgRecipe");
    imgRecipe->setAlignment(Qt::AlignCenter);
    imgRecipe->setFrameShape(QFrame::StyledPanel);
    imgRecipe->setMinimumSize(150, 110);
    imgRecipe->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    cmdPicAdd = NamedButton(fields, "cmdPicAdd", "Select");
    cmdPastePic = NamedButton(fields, "cmdPastePic", "Paste");
    cmdPicDelete = NamedButton(fields, "cmdPicDelete", "Delete");

    // Left: title, author, categories, ingredients, instructions. Right: times, yield, origin, wine, picture.
    auto* left = new QGridLayout;
    left->setColumnStretch(1, 1);
    left->addWidget(lblInfo[Title], 0, 0);
    left->addWidget(txtTitle, 0, 1, 1, 2);
    left->addWidget(lblInfo[Author], 1, 0);
    left->addWidget(txtAuthor, 1, 1, 1, 2);

    left->addWidget(lblInfo[Categories], 2, 0, Qt::AlignTop);
    auto* catButtons = new QVBoxLayout;
    catButtons->addWidget(cmdAddCat);
    catButtons->addWidget(cmdRemove);
    catButtons->addStretch();
    auto* catList = new QVBoxLayout;
    catList->addWidget(cmbCat);
    catList->addWidget(lstCat);
    lstCat->setMaximumHeight(70);
    left->addLayout(catList, 2, 1);
    left->addLayout(catButtons, 2, 2);

    left->addWidget(lblInfo[Ingredients], 3, 0, Qt::AlignTop);
    auto* ingEntry = new QHBoxLayout;
    ingEntry->addWidget(txtIng, 2);
    ingEntry->addWidget(cmbUOM, 3);
    ingEntry->addWidget(cmbIng, 4);
    auto* ingList = new QVBoxLayout;
    ingList->addLayout(ingEntry);
    ingList->addWidget(lstVIng, 1);
    auto* ingButtons = new QVBoxLayout;
    ingButtons->addWidget(cmdAddIng);
    ingButtons->addWidget(cmdRemoveIng);
    ingButtons->addStretch();
    left->addLayout(ingList, 3, 1);
    left->addLayout(ingButtons, 3, 2);
    left->setRowStretch(3, 3);

    left->addWidget(lblInfo[Instructions], 4, 0, Qt::AlignTop);
    left->addWidget(rtb, 4, 1);
    auto* expand = new QVBoxLayout;
    expand->addWidget(cmdExpand);
    expand->addStretch();
    left->addLayout(expand, 4, 2);
    left->setRowStretch(4, 3);

    auto* right = new QGridLayout;
    int row = 0;
    for (auto [label, box] : {std::pair{PrepTime, static_cast<QWidget*>(txtPrepTime)},
                              std::pair{CookTime, static_cast<QWidget*>(txtCookTime)},
                              std::pair{TotalTime, static_cast<QWidget*>(txtTotalTime)},
                              std::pair{Yield, static_cast<QWidget*>(txtServes)},
                              std::pair{Calories, static_cast<QWidget*>(txtCalories)}}) {
        right->addWidget(lblInfo[label], row, 0);
        right->addWidget(box, row++, 1, 1, 2);
    }
    lblInfo[Calories]->setWordWrap(true);
    right->addWidget(lblInfo[Origin], row, 0);
    right->addWidget(cmbOrigin, row++, 1, 1, 2);
    right->addWidget(lblInfo[Wine], row, 0);
    right->addWidget(txtWine, row, 1);
    right->addWidget(cmdWine, row++, 2);
    right->addWidget(lblInfo[Image], row++, 0, 1, 3);
    right->addWidget(imgRecipe, row++, 0, 1, 3);
    right->setRowStretch(row - 1, 1);
    auto* picButtons = new QHBoxLayout;
    picButtons->addWidget(cmdPicAdd);
    picButtons->addWidget(cmdPastePic);
    picButtons->addWidget(cmdPicDelete);
    right->addLayout(picButtons, row++, 0, 1, 3);
    right->setColumnStretch(1, 1);

    auto* layout = new QHBoxLayout(fields);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 3);
    layout->addSpacing(8);
    layout->addLayout(right, 2);
    return fields;
}

QWidget* frmAddRecipe::buildClipboardPane()
{
    fraClip = Named(new QWidget(this), "fraClip");
    Label1 = Named(new QLabel("Clipboard Text:", fraClip), "Label1");
    rtbClip = Named(new QPlainTextEdit(fraClip), "rtbClip");
    rtbClip->setTabChangesFocus(true);
    cmdResetClipboard = NamedButton(fraClip, "cmdResetClipboard", "Get Clipboard Text");

    const char* const captions[] = {"<< Title",     "<< Author",     "<< Yield",        "<< Prep Time",
                                    "<< Cook Time", "<< Categories", "<< Instructions", "<< Ingredients"};
    auto* actions = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        cmdAction << NamedButton(fraClip, QString("cmdAction_%1").arg(i), captions[i]);
        actions->addWidget(cmdAction[i], i / 2, i % 2);
    }

    auto* layout = new QVBoxLayout(fraClip);
    layout->setContentsMargins(10, 0, 0, 0);
    layout->addWidget(Label1);
    layout->addWidget(rtbClip, 1);
    layout->addWidget(cmdResetClipboard);
    layout->addLayout(actions);
    return fraClip;
}

// ---- load

void frmAddRecipe::Form_Load()
{
    bool found = true;
    loaded_ = basMain::RunHandler("AddRecipe Form Load", [&] {
        SetBoxText(rtbClip, QApplication::clipboard()->text());
        sPicturePath.clear();
        storedPictureName_.clear();
        fillPickLists();

        if (!basMain::sEditRecipeKey.isEmpty()) {
            lblInfo[0]->setText("Edit Recipe");
            found = loadRecipe(recipelist::idOf(basMain::sEditRecipeKey));
        }
        txtTitle->setFocus();
    });
    loaded_ = loaded_ && found;
    typedWork_.keep();
    if (!loaded_)
        QDialog::reject(); // a half-loaded editor could overwrite what is stored: it never saves
}

void frmAddRecipe::fillPickLists()
{
    FillPickList(cmbCat, "SELECT * FROM [CATEGORY] ORDER BY [CATEGORY]", "CATEGORY");
    FillPickList(cmbUOM, "SELECT * FROM [MEASURES] ORDER BY [MEASUREMENT]", "MEASUREMENT");
    cmbUOM->insertItem(0, QString()); // a chosen unit can be cleared again
    cmbUOM->setCurrentIndex(-1);
    FillPickList(cmbIng, "SELECT * FROM [INGREDIENT] ORDER BY [INGREDIENT]", "INGREDIENT");
    FillPickList(cmbOrigin, "SELECT * FROM [ORIGIN] ORDER BY [ID]", "ORIGIN");
}

bool frmAddRecipe::loadRecipe(qint64 id)
{
    if (!basDatabase::cnCookbook.isOpen())
        throw AppError(91, "No cookbook is open.");
    db::Query row(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE [ID]=?1", {id});
    if (!row.next()) {
        ui::msgBox("This recipe is no longer in the cookbook.", ui::Buttons::OK, ui::Icon::Information,
                   "Recipe Error");
        return false;
    }

    storedDigest_ = recipewriter::RecipeDigest(row);

    using text::decodeApostrophes;
    using text::trimBlanks;
    txtTitle->setText(trimBlanks(row.text("Title")));
    if (!row.isNull("Author"))
        txtAuthor->setText(decodeApostrophes(trimBlanks(row.text("Author"))));
    if (!row.isNull("CaloriesPerServing"))
        txtCalories->setText(trimBlanks(row.text("CaloriesPerServing")));
    if (!row.isNull("CookTime"))
        txtCookTime->setText(trimBlanks(row.text("CookTime")));
    if (!row.isNull("PrepTime"))
        txtPrepTime->setText(trimBlanks(row.text("PrepTime")));
    for (const QLineEdit* box : {txtCookTime, txtPrepTime})
        storedTimes_.insert(box, box->text());
    if (!row.isNull("Yield"))
        txtServes->setText(trimBlanks(row.text("Yield")));
    if (!row.isNull("Instructions"))
        SetBoxText(rtb, recipefields::FromCrLf(decodeApostrophes(trimBlanks(row.text("Instructions")))));
    if (!row.isNull("Wine"))
        txtWine->setText(decodeApostrophes(row.text("Wine")));

    if (!row.isNull("RecipePicture") && !row.isNull("PictureName")) {
        // The stored name stands for the unchanged picture; one that names no file keeps it stored too.
        const QString stored = row.text("PictureName");
        const QString bare = paths::bareFileName(stored);
        sPicturePath = storedPictureName_ = bare.isEmpty() ? stored : bare;
        // A picture that cannot be written out or shown is no reason to refuse the recipe: it stays stored.
        if (!bare.isEmpty())
            basMain::RunHandler("AddRecipe Form Load", [&] {
                const QString extracted = basDatabase::ExtractPictureFromRecordset(row, pagefolder::path(), "");
                if (!extracted.isEmpty())
                    showPicture(extracted);
            });
    }

    if (!row.isNull("Category"))
        lstCat->addItems(recipefields::CategoriesFromStored(row.text("Category")));
    for (QLineEdit* box : {txtTitle, txtAuthor, txtCalories, txtCookTime, txtPrepTime, txtServes, txtWine})
        box->home(false); // long texts show their beginning

    const QString ingredients = row.text("Ingredients");
    if (!ingredients.isEmpty())
        for (const QString& line : ingredients.split("\r\n"))
            appendIngredient(line);
    return true;
}

// ---- save

void frmAddRecipe::cmdOk_Click()
{
    if (txtTitle->text().isEmpty()) {
        ui::msgBox("You must enter a title for this recipe", ui::Buttons::OK, ui::Icon::Information, "Recipe Error");
        txtTitle->setFocus();
        return;
    }
    if (lstVIng->topLevelItemCount() == 0) {
        ui::msgBox("You must enter at least one ingredient for this recipe", ui::Buttons::OK, ui::Icon::Information,
                   "Recipe Error");
        txtIng->setFocus();
        return;
    }
    // The times are checked however OK was reached (Enter, a click, its access key).
    if (validating_)
        return;
    for (auto [box, message] : {std::pair{txtPrepTime, "Prep Time is invalid should be hh:mm"},
                                std::pair{txtCookTime, "Cook Time is invalid should be hh:mm"}})
        if (!validateTime(box, message)) {
            box->setFocus();
            box->selectAll();
            return;
        }
    // An amended recipe may keep its own title, but not take another recipe's, whatever its letter case.
    const bool adding = basMain::sEditRecipeKey.isEmpty();
    const qint64 ownId = adding ? 0 : recipelist::idOf(basMain::sEditRecipeKey);
    bool taken = false;
    if (!basMain::RunHandler("cmdOK AddRecipe",
                             [&] { taken = basDatabase::RecipeTitleTaken(text::encodeApostrophes(txtTitle->text()), ownId); }))
        return;
    if (taken) {
        ui::msgBox("There already is a recipe in the database with this name", ui::Buttons::OK,
                   ui::Icon::Information, "Recipe Error");
        txtTitle->setFocus();
        return;
    }

    auto result = recipewriter::UpdateResult::Updated;
    bool cookbookMoved = false;
    const bool saved = basMain::RunHandler("cmdOK AddRecipe", [&] {
        try {
            store(adding, ownId, result);
        } catch (const AppError&) {
            cookbookMoved = basDatabase::OpenCookbookHasMoved();
            if (!cookbookMoved)
                throw;
        }
    });
    if (!saved)
        return;
    if (cookbookMoved) {
        tellCookbookMoved();
        return;
    }
    if (result == recipewriter::UpdateResult::Gone) {
        ui::msgBox("This recipe is no longer in the cookbook: nothing was saved.", ui::Buttons::OK,
                   ui::Icon::Information, "Recipe Error");
        return;
    }
    if (result == recipewriter::UpdateResult::ChangedElsewhere)
        return; // nothing written; the editor stays open with the user's values

    emptyWindow();
    ui::msgBox(adding ? "Recipe added successfully." : "Recipe updated successfully.", ui::Buttons::OK,
               ui::Icon::Information);
    accept();
}

// The cookbook file was renamed, deleted or replaced (another window compacted it) since it was opened:
// nothing was saved and the editor keeps every value. A cookbook at its place again is opened, so that
// OK saves into it.
void frmAddRecipe::tellCookbookMoved()
{
    const QString fileName = basDatabase::sCurrentCookbook;
    const bool reopened = basDatabase::ReopenMovedCookbook();
    QString message = "The cookbook file \"" + fileName
                      + "\" was moved, replaced or deleted since it was opened: the recipe was not saved.\n\n";
    if (reopened)
        message += "The cookbook now at its place has been opened again. Press OK to save the recipe into it.";
    else if (basDatabase::sCurrentCookbook.isEmpty())
        message += "The file now at its place cannot be opened as a cookbook, and no cookbook is open.";
    else
        message += "It is gone from the cookbooks folder. Your recipe stays here: copy what you need, or put the "
                   "cookbook back and press OK again.";
    ui::msgBox(message, ui::Buttons::OK, ui::Icon::Exclamation, "Recipe Error");
}

// Writes the editor's values: a new recipe, or the amended one (`result` tells how that went).
void frmAddRecipe::store(bool adding, qint64 ownId, recipewriter::UpdateResult& result)
{
    recipewriter::RecipeValues values;
    values.title = txtTitle->text();
    values.author = txtAuthor->text();
    QStringList categories;
    for (int i = 0; i < lstCat->count(); ++i)
        categories << lstCat->item(i)->text();
    values.category = categories.join(',');
    QStringList ingredients;
    for (int i = 0; i < lstVIng->topLevelItemCount(); ++i)
        ingredients << lstVIng->topLevelItem(i)->text(0);
    values.ingredients = ingredients.join("\r\n");
    values.prepTime = txtPrepTime->text();
    values.cookTime = txtCookTime->text();
    values.totalTime = CalcTotalTime();
    values.yield = txtServes->text();
    values.calories = txtCalories->text();
    values.instructions = text::toCrLf(rtb->toPlainText());
    values.wine = txtWine->text();
    values.origin = cmbOrigin->currentText();
    values.originChosen = cmbOrigin->currentIndex() >= 0;

    // A picture chosen or pasted since the load is read now, before anything is written.
    recipewriter::PictureChange picture;
    if (sPicturePath.isEmpty())
        picture.kind = adding ? recipewriter::PictureChange::Kind::Keep : recipewriter::PictureChange::Kind::Clear;
    else if (sPicturePath != storedPictureName_)
        picture = recipewriter::PictureFromFile(sPicturePath);

    if (adding) {
        recipewriter::InsertRecipe(values, picture);
    } else {
        result = recipewriter::UpdateRecipe(ownId, values, picture, storedDigest_);
        // Another window saved this recipe after it was loaded here: overwrite only when asked to.
        if (result == recipewriter::UpdateResult::ChangedElsewhere
            && ui::msgBox("This recipe was changed in another window after you opened it here.\n"
                          "Do you want to overwrite those changes with yours?",
                          ui::Buttons::YesNo, ui::Icon::Question, "Recipe Changed",
                          ui::DefaultButton::Second) == ui::Answer::Yes)
            result = recipewriter::UpdateRecipe(ownId, values, picture);
    }
}

void frmAddRecipe::emptyWindow()
{
    lstVIng->clear();
    for (QLineEdit* box : {txtTitle, txtAuthor, txtIng, txtPrepTime, txtCookTime, txtTotalTime, txtServes, txtCalories,
                           txtWine})
        box->clear();
    for (QComboBox* combo : {cmbCat, cmbUOM, cmbIng, cmbOrigin}) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->clearEditText();
    }
    imgRecipe->clear();
}

void frmAddRecipe::cmdCancel_Click()
{
    basMain::sEditRecipeKey.clear();
    QDialog::reject();
}

void frmAddRecipe::reject()
{
    if (typedWork_.mayClose("You have made changes to this recipe.\nDo you want to close without saving them?",
                            windowTitle()))
        cmdCancel_Click();
}
