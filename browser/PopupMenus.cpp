#include "browser/PopupMenus.h"

#include "browser/frmView.h"
#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/ui/Ui.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QSignalBlocker>
#include <QScopeGuard>
#include <QTreeWidget>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

// How often the mark loop lets the window repaint and take input.
constexpr int kYieldEveryMs = 30;

} // namespace

frmContextMenus::frmContextMenus(QWidget* window) : QObject(window), window_(window)
{
    mnuSort = new QMenu(window);
    mnuSort->setObjectName("mnuSort");
    const char* sortCaptions[] = {"Filter..", "-", "Check All", "Un-Check All", "Inverse Selection", "-",
                                  "Add To Favourites"};
    for (int i = 0; i < 7; ++i) {
        QAction* item = QString(sortCaptions[i]) == "-" ? mnuSort->addSeparator() : mnuSort->addAction(sortCaptions[i]);
        item->setObjectName(QString("mnuSortOption_%1").arg(i));
        item->setData(i);
    }
    mnuDelete = new QMenu(window);
    mnuDelete->setObjectName("mnuDelete");
    QAction* remove = mnuDelete->addAction("Remove From Favourites");
    remove->setObjectName("mnuDeleteOption_0");
    remove->setData(0);
}

frmContextMenus::~frmContextMenus()
{
    delete mnuSort;
    delete mnuDelete;
}

void frmContextMenus::popupSort(const QPoint& globalPos)
{
    if (QAction* chosen = mnuSort->exec(globalPos))
        mnuSortOption_Click(chosen->data().toInt());
}

void frmContextMenus::popupDelete(const QPoint& globalPos, const QTreeWidgetItem* favourite)
{
    if (!favourite)
        return;
    sFavouriteTag = recipelist::itemTag(favourite);
    if (QAction* chosen = mnuDelete->exec(globalPos))
        mnuDeleteOption_Click(chosen->data().toInt());
}

void frmContextMenus::mnuSortOption_Click(int index)
{
    IMainWindow& window = basMain::mainWindow();
    basMain::RunHandler("mnuSort", [&] {
        const QString status = window.statusText();
        std::optional<ui::WaitCursor> wait(std::in_place);
        switch (index) {
        case Filter: {
            wait.reset();
            frmView dlg(window_);
            dlg.Form_Load();
            dlg.exec();
            break;
        }
        case CheckAll:
        case UncheckAll:
        case InverseSelection:
            markListedRecipes(index);
            break;
        case AddToFavourites:
            if (const QTreeWidgetItem* item = recipelist::selectedItem(window.lstVRecipes())) {
                basDatabase::AddFavourite(recipelist::idOf(recipelist::itemKey(item)));
                window.RefreshFavourites();
            }
            break;
        default:
            break;
        }
        window.setStatusText(status);
    });
}

// Writes the mark of every listed recipe and sets its check box to match, in one transaction. The window
// keeps repainting and taking input meanwhile; when the list is refilled or the cookbook closed under it,
// the loop stops and keeps the marks written so far. The rows are written in the cookbook's own order (a
// list in title order would visit the table's pages at random), and the boxes are set once all is stored,
// without a signal or a repaint per item.
void frmContextMenus::markListedRecipes(int index)
{
    IMainWindow& window = basMain::mainWindow();
    const QPointer<QTreeWidget> list = window.lstVRecipes();
    if (!list || ui::isBusy())
        return;
    ui::BusyScope busy; // no clipboard capture, and no second mark loop from a yield, while this runs

    struct Freeze { // the list's repainting, released even when the list went away meanwhile
        QPointer<QTreeWidget> widget;
        ~Freeze()
        {
            if (widget)
                widget->setUpdatesEnabled(true);
        }
    } freeze{list};
    list->setUpdatesEnabled(false);

    // Any refill or emptying of the list while the loop yields ends it.
    bool listChanged = false;
    QAbstractItemModel* model = list->model();
    const auto changed = [&listChanged] { listChanged = true; };
    const QMetaObject::Connection watches[] = {
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, changed),
        connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, changed),
        connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, changed),
        connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, changed),
        connect(list.data(), &QObject::destroyed, this, changed),
    };
    const auto unwatch = qScopeGuard([&watches] {
        for (const auto& watch : watches)
            disconnect(watch);
    });

    struct Mark {
        qint64 id;
        bool marked;
    };
    const int count = list->topLevelItemCount();
    std::vector<Mark> marks;
    marks.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        const bool marked = index == CheckAll     ? true
                            : index == UncheckAll ? false
                                                  : item->checkState(0) != Qt::Checked;
        marks.push_back({recipelist::idOf(recipelist::itemKey(item)), marked});
    }
    std::vector<Mark> byRow = marks;
    std::sort(byRow.begin(), byRow.end(), [](const Mark& a, const Mark& b) { return a.id < b.id; });

    db::Connection& cn = basDatabase::cnCookbook;
    const auto* handle = cn.handle();
    db::Transaction transaction(cn, db::Transaction::OnScopeExit::Commit, db::Transaction::Lock::Immediate);
    QElapsedTimer sinceYield;
    sinceYield.start();
    for (std::size_t i = 0; i < byRow.size(); ++i) {
        if (i == 0 || sinceYield.elapsed() >= kYieldEveryMs) {
            // The progress is written where the window can show it: right before it repaints.
            window.setStatusText(QString("Processing recipe %1 of %2").arg(i + 1).arg(list->topLevelItemCount()));
            QCoreApplication::processEvents();
            sinceYield.restart();
            if (listChanged || cn.handle() != handle)
                break;
        }
        db::Query(cn, "UPDATE RECIPES SET MARK=?1 WHERE ID=?2 AND MARK IS NOT ?1", db::Query::Cached{},
                  {byRow[i].marked ? 1 : 0, byRow[i].id})
            .exec();
    }
    if (cn.handle() != handle)
        return;
    // The commit of a long list takes a while of its own: off the window's thread, the window repainting.
    runOffThread([&transaction] { transaction.commit(); },
                 [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    QCoreApplication::processEvents();
    if (!list || listChanged)
        return; // the new list shows the stored marks already

    {
        // Stored already: no second write from the check boxes, and no repaint per item.
        const QSignalBlocker blockList(list.data());
        const QSignalBlocker blockModel(model);
        for (int i = 0; i < count; ++i)
            list->topLevelItem(i)->setCheckState(0, marks[i].marked ? Qt::Checked : Qt::Unchecked);
    }
    list->viewport()->update();
}

void frmContextMenus::mnuDeleteOption_Click(int index)
{
    if (index != 0)
        return;
    basMain::RunHandler("mnuDelete", [this] {
        if (sFavouriteTag.isEmpty())
            return;
        db::Query(basDatabase::cnCookbook, "DELETE FROM FAVOURITES WHERE ID=?1", {recipelist::idOf(sFavouriteTag, 0)})
            .exec();
        basMain::mainWindow().RefreshFavourites();
    });
}
