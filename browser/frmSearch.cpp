#include "browser/frmSearch.h"

#include "browser/SearchCondition.h"
#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/ui/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {
template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
} // namespace

frmSearch::frmSearch(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmSearch");
    setWindowTitle("Search Criteria");
    setModal(true);

    txtSearch = named(new QLineEdit(this), "txtSearch");
    chkRecipeName = named(new QCheckBox("Recipe Name", this), "chkRecipeName");
    chkAuthor = named(new QCheckBox("Author", this), "chkAuthor");
    chkInstructions = named(new QCheckBox("Instructions", this), "chkInstructions");
    chkIng = named(new QCheckBox("Ingredients", this), "chkIng");
    chkCat = named(new QCheckBox("Category", this), "chkCat");
    cmbCat = named(new QComboBox(this), "cmbCat");
    cmbIngredients = named(new QComboBox(this), "cmbIngredients");
    cmbOrigin = named(new QComboBox(this), "cmbOrigin");
    chkSearchMark = named(new QCheckBox("Search checked recipes only", this), "chkSearchMark");
    chkMark = named(new QCheckBox("Check found recipes", this), "chkMark");
    cmdSearch = NamedButton(this, "cmdSearch", "Search");
    cmdSearch->setDefault(true);
    cmdClose = NamedButton(this, "cmdClose", "Close");
    for (QComboBox* box : {cmbCat, cmbIngredients, cmbOrigin}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(18);
    }

    QVBoxLayout* form = BannerLayout(this, "Search");
    QLabel* searchFor = caption("Search for:", this);
    TieLabel(searchFor, txtSearch);
    form->addWidget(searchFor);
    form->addWidget(txtSearch);
    form->addSpacing(6);
    form->addWidget(caption("Fields to search:", this));
    auto* fields = new QGridLayout;
    fields->addWidget(chkRecipeName, 0, 0);
    fields->addWidget(chkAuthor, 0, 1);
    fields->addWidget(chkInstructions, 0, 2);
    fields->addWidget(chkIng, 1, 0);
    fields->addWidget(chkCat, 1, 1);
    form->addLayout(fields);
    form->addSpacing(6);
    auto* lists = new QGridLayout;
    lists->addWidget(LabelFor(cmbCat, "Categories:", this), 0, 0);
    lists->addWidget(cmbCat, 0, 1);
    lists->addWidget(LabelFor(cmbIngredients, "Ingredients:", this), 1, 0);
    lists->addWidget(cmbIngredients, 1, 1);
    lists->addWidget(LabelFor(cmbOrigin, "Origin:", this), 2, 0);
    lists->addWidget(cmbOrigin, 2, 1);
    lists->setColumnStretch(1, 1);
    form->addLayout(lists);
    form->addSpacing(6);
    form->addWidget(chkSearchMark);
    form->addWidget(chkMark);
    form->addStretch();
    form->addLayout(ButtonRow({cmdSearch, cmdClose}));

    connect(cmdSearch, &QPushButton::clicked, this, &frmSearch::cmdSearch_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSearch::cmdClose_Click);
    EnterPressesFocusedButton(this);
}

void frmSearch::Form_Load()
{
    for (QComboBox* box : {cmbCat, cmbIngredients, cmbOrigin}) {
        box->clear();
        box->addItem("-Any-");
    }
    // The pick lists hold the browse tree's reference entries, in the tree's order.
    if (QTreeWidget* tree = basMain::mainWindow().tvRecipes()) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QTreeWidgetItem* parent = (*it)->parent();
            if (!parent)
                continue;
            const QString branch = parent->text(0);
            if (branch.contains("Categories"))
                cmbCat->addItem((*it)->text(0));
            else if (branch.contains("Ingredients"))
                cmbIngredients->addItem((*it)->text(0));
            else if (branch.contains("Country"))
                cmbOrigin->addItem((*it)->text(0));
        }
    }
    for (QComboBox* box : {cmbCat, cmbIngredients, cmbOrigin})
        box->setCurrentIndex(0);
}

void frmSearch::cmdClose_Click() { reject(); }

SearchCriteria frmSearch::criteria() const
{
    SearchCriteria c;
    c.text = txtSearch->text();
    c.recipeName = chkRecipeName->isChecked();
    c.author = chkAuthor->isChecked();
    c.category = chkCat->isChecked();
    c.ingredients = chkIng->isChecked();
    c.instructions = chkInstructions->isChecked();
    c.pickedCategory = cmbCat->currentText();
    c.pickedIngredient = cmbIngredients->currentText();
    c.pickedOrigin = cmbOrigin->currentText();
    c.markedOnly = chkSearchMark->isChecked();
    return c;
}

void frmSearch::cmdSearch_Click()
{
    if (txtSearch->text().isEmpty()) {
        ui::msgBox("Please enter something to search for", ui::Buttons::OK, ui::Icon::Information, "Oops..");
        txtSearch->setFocus();
        return;
    }
    basMain::RunHandler("CmdSearch", [this] { search(); });
}

void frmSearch::search()
{
    IMainWindow& window = basMain::mainWindow();
    RecipeList* list = window.lstVRecipes();
    if (!list)
        return;
    ui::BusyScope busy;
    list->clear();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); // shows the emptied list

    const SqlCondition condition = searchCondition(criteria());
    int found = 0;
    {
        ui::WaitCursor wait;
        db::Query rows(basDatabase::cnCookbook,
                       "SELECT ID, TITLE, CATEGORY, MARK FROM RECIPES WHERE " + condition.sql + " ORDER BY TITLE ASC");
        bindCondition(rows, condition);
        ui::RepaintFreeze freeze(list->view());
        found = recipelist::fillRows(list, rows);
    }
    reportFound(list); // an empty result too: the count, the banner and the page follow the list
    if (found == 0) {
        ui::msgBox("No recipes found for current search criteria", ui::Buttons::OK, ui::Icon::Information,
                   "Search..");
        txtSearch->setFocus();
        return;
    }

    if (chkMark->isChecked()) {
        ui::WaitCursor wait;
        // The same condition and values as the list, so exactly the found recipes are marked.
        db::Transaction transaction(basDatabase::cnCookbook, db::Transaction::OnScopeExit::Rollback,
                                    db::Transaction::Lock::Immediate);
        db::Query mark(basDatabase::cnCookbook, "UPDATE RECIPES SET MARK=1 WHERE " + condition.sql);
        bindCondition(mark, condition);
        mark.exec();
        transaction.commit();
        list->showMarks([](const RecipeRow&) { return true; });
    }
}
