#include "editor/frmDelete.h"

#include "core/Banner.h"
#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/ui/Ui.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>

namespace {
// Runs one step of the delete; a failure is reported and the next step still runs.
void step(const std::function<void()>& body)
{
    try {
        body();
    } catch (...) {
        basMain::LogCurrentException("frmDelete cmdDelete");
    }
}
} // namespace

frmDelete::frmDelete(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmDelete");
    setWindowTitle("Delete..");
    setModal(true);

    lblInfo[5] = MakeBanner(this, "Delete Recipe(s)");
    lblInfo[5]->setObjectName("lblInfo_5");
    lblInfo[5]->setStyleSheet(lblInfo[5]->styleSheet().replace("#lblInfo ", "#lblInfo_5 "));
    lblInfo[0] = new QLabel(this);
    lblInfo[0]->setObjectName("lblInfo_0");
    lblInfo[0]->setWordWrap(true);
    lblInfo[0]->setMinimumWidth(300);
    imgDelete = new QLabel(this);
    imgDelete->setObjectName("imgDelete");
    imgDelete->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    imgDelete->setAlignment(Qt::AlignTop);
    shpDel = new QFrame(this);
    shpDel->setObjectName("shpDel");
    shpDel->setFrameShape(QFrame::StyledPanel);
    optDelete[0] = new QRadioButton("Delete ALL marked recipes", shpDel);
    optDelete[1] = new QRadioButton("Just delete the currently selected recipe", shpDel);
    for (int i = 0; i < 2; ++i)
        optDelete[i]->setObjectName(QString("optDelete_%1").arg(i));
    optDelete[1]->setChecked(true);
    cmdDelete = NamedButton(this, "cmdDelete", "Delete");
    cmdCancel = NamedButton(this, "cmdCancel", "Cancel");
    // Deleting cannot be undone: Enter cancels, wherever the focus is.
    cmdDelete->setAutoDefault(false);
    cmdCancel->setDefault(true);

    auto* options = new QVBoxLayout(shpDel);
    options->addWidget(optDelete[0]);
    options->addWidget(optDelete[1]);
    auto* text = new QVBoxLayout;
    text->addWidget(lblInfo[0]);
    text->addWidget(shpDel);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(12, 12, 12, 6);
    body->setSpacing(12);
    body->addWidget(imgDelete);
    body->addLayout(text, 1);
    QHBoxLayout* buttons = ButtonRow({cmdDelete, cmdCancel});
    buttons->setContentsMargins(12, 6, 12, 12);
    buttons->setSpacing(StyleSpacing(this));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lblInfo[5]);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    setTabOrder(optDelete[0], optDelete[1]);
    setTabOrder(optDelete[1], cmdDelete);
    setTabOrder(cmdDelete, cmdCancel);
    TabStopsAtCheckedOption({optDelete[0], optDelete[1]});

    connect(cmdDelete, &QPushButton::clicked, this, &frmDelete::cmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDelete::cmdCancel_Click);
    EnterPressesFocusedButton(this);
}

void frmDelete::Form_Load()
{
    db::Query count(basDatabase::cnCookbook, "SELECT COUNT(*) AS MARKED FROM RECIPES WHERE MARK=1");
    const qint64 marked = count.next() ? count.value("MARKED").toLongLong() : 0;

    const QTreeWidgetItem* selected = recipelist::selectedItem(basMain::mainWindow().lstVRecipes());
    sRecipeKey_ = recipelist::itemKey(selected);
    if (marked < 1) {
        lblInfo[0]->setText("Delete recipe " + (selected ? selected->text(0) : QString()) + "?");
        optDelete[1]->setChecked(true);
        shpDel->hide();
    } else {
        lblInfo[0]->setText("There are currently " + QString::number(marked) +
                            " marked recipes in the database, do you want to:");
        shpDel->show();
    }
    cmdCancel->setFocus();
    adjustSize();
}

void frmDelete::cmdDelete_Click()
{
    {
        ui::WaitCursor wait;
        cmdDelete->setEnabled(false);
        cmdCancel->setEnabled(false);
        db::Connection& cn = basDatabase::cnCookbook;
        if (optDelete[0]->isChecked()) {
            step([&] { db::Query(cn, "DELETE FROM RECIPES WHERE MARK=1").exec(); });
        } else if (!sRecipeKey_.isEmpty()) {
            step([&] {
                db::Query(cn, "DELETE FROM RECIPES WHERE ID=?1", {recipelist::idOf(sRecipeKey_)}).exec();
            });
            step([&] {
                QTreeWidget* list = basMain::mainWindow().lstVRecipes();
                for (int i = 0; list && i < list->topLevelItemCount(); ++i)
                    if (recipelist::itemKey(list->topLevelItem(i)) == sRecipeKey_) {
                        const QSignalBlocker block(list);
                        delete list->takeTopLevelItem(i);
                        break;
                    }
            });
        }
    }
    accept();
    step([] { basMain::mainWindow().RefreshViews(); });
}

void frmDelete::cmdCancel_Click() { reject(); }
