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
#include <QRegularExpression>
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

    const RecipeRow* selected = recipelist::selectedRow(basMain::mainWindow().lstVRecipes());
    sRecipeKey_ = selected ? recipelist::keyOf(*selected) : QString();
    if (marked < 1) {
        lblInfo[0]->setText("Delete recipe " + (selected ? selected->title : QString()) + "?");
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
    bool single = false;
    {
        ui::WaitCursor wait;
        cmdDelete->setEnabled(false);
        cmdCancel->setEnabled(false);
        db::Connection& cn = basDatabase::cnCookbook;
        if (optDelete[0]->isChecked()) {
            step([&] { db::Query(cn, "DELETE FROM RECIPES WHERE MARK=1").exec(); });
        } else if (!sRecipeKey_.isEmpty()) {
            single = true;
            step([&] {
                db::Query(cn, "DELETE FROM RECIPES WHERE ID=?1", {recipelist::idOf(sRecipeKey_)}).exec();
                removeFromList();
            });
        }
    }
    accept();
    // One recipe gone: the list loses its row and the tree its favourite, and nothing else changes.
    if (single)
        step([] { basMain::mainWindow().RefreshFavourites(); });
    else
        step([] { basMain::mainWindow().RefreshViews(); });
}

void frmDelete::removeFromList()
{
    IMainWindow& window = basMain::mainWindow();
    RecipeList* list = window.lstVRecipes();
    const int row = list ? list->rowOf(recipelist::idOf(sRecipeKey_)) : -1;
    if (row < 0)
        return;
    list->removeRow(row);
    // The count in the status bar ("Found 12 recipes for ...") follows the list.
    static const QRegularExpression found("^Found \\d+ ");
    QString status = window.statusText();
    if (status.contains(found))
        window.setStatusText(status.replace(found, "Found " + QString::number(list->count()) + " "));
}

void frmDelete::cmdCancel_Click() { reject(); }
