#include "browser/frmMealMaker.h"

#include "browser/SearchCondition.h"
#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/ui/Ui.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QAbstractItemView>
#include <QVBoxLayout>
#include <optional>

frmMealMaker::frmMealMaker(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmMealMaker");
    setWindowTitle("MealMaker");
    setModal(true);

    auto* prompt = new QLabel("Type in the ingredients you have to hand seperated by commas:", this);
    prompt->setObjectName("lblInfo_1");
    prompt->setWordWrap(true);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName("txtSearch");
    prompt->setBuddy(txtSearch);
    const char* captions[] = {"Search", "Close"};
    for (int i = 0; i < 2; ++i) {
        cmdOption[i] = NamedButton(this, QString("cmdOption_%1").arg(i), captions[i]);
        connect(cmdOption[i], &QPushButton::clicked, this, [this, i] { cmdOption_Click(i); });
    }
    cmdOption[0]->setDefault(true);

    QVBoxLayout* form = BannerLayout(this, "What can I make with?");
    form->addWidget(prompt);
    form->addWidget(txtSearch);
    form->addStretch();
    form->addLayout(ButtonRow({cmdOption[0], cmdOption[1]}));
    resize(440, 190);
    EnterPressesFocusedButton(this);
}

void frmMealMaker::cmdOption_Click(int index)
{
    if (index == 0)
        FindRecipes();
    else if (index == 1)
        reject();
}

void frmMealMaker::FindRecipes()
{
    if (txtSearch->text().isEmpty()) {
        ui::msgBox("Nothing to search for?", ui::Buttons::OK, ui::Icon::Exclamation, "Oops..");
        txtSearch->setFocus();
        return;
    }
    basMain::RunHandler("FindRecipes", [this] {
        RecipeList* list = basMain::mainWindow().lstVRecipes();
        if (!list)
            return;
        const SqlCondition condition = ingredientsCondition(txtSearch->text());
        ui::BusyScope busy;
        std::optional<ui::WaitCursor> wait(std::in_place);
        db::Query rows(basDatabase::cnCookbook,
                       "SELECT ID, TITLE, CATEGORY, MARK FROM RECIPES WHERE " + condition.sql + " ORDER BY TITLE ASC");
        bindCondition(rows, condition);
        // Read aside first: when nothing is found, the list stays as it was.
        std::vector<RecipeRow> found = recipelist::readRows(rows);
        if (found.empty()) {
            wait.reset();
            ui::msgBox("No recipes found for the search criteria", ui::Buttons::OK, ui::Icon::Information,
                       "Search Finished");
            return;
        }
        {
            ui::RepaintFreeze freeze(list->view());
            list->setRows(std::move(found));
        }
        reportFound(list);
    });
}
