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
#include <QAbstractItemView>
#include <QTreeWidgetItem>
#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

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

void frmContextMenus::popupSort(const QPoint& globalPos, bool onRow)
{
    for (QAction* item : mnuSort->actions())
        if (item->data().toInt() == AddToFavourites)
            item->setEnabled(onRow);
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
            if (const RecipeRow* row = recipelist::selectedRow(window.lstVRecipes())) {
                basDatabase::AddFavourite(row->id);
                window.RefreshFavourites();
            }
            break;
        default:
            break;
        }
        window.setStatusText(status);
    });
}

// Writes the mark of every listed recipe and sets its check box to match. What this costs is SQLite
// writing each changed row again, with the index on MARK, whatever the row holds: so the rows are
// written by a few statements that each take thousands of IDs (in ID order, the table's own order), not
// by one statement per recipe, and beside the window's thread. The window repaints and shows the
// progress meanwhile but takes no input, so neither the list nor the cookbook can change under the
// write. The check boxes are set once all is stored, without a write of their own.
void frmContextMenus::markListedRecipes(int index)
{
    IMainWindow& window = basMain::mainWindow();
    RecipeList* list = window.lstVRecipes();
    if (!list || ui::isBusy())
        return;
    ui::BusyScope busy; // no clipboard capture, and no second mark command from a yield, while this runs
    const QPointer<QAbstractItemView> view = list->view();

    const auto markOf = [index](const RecipeRow& row) {
        return index == CheckAll ? true : index == UncheckAll ? false : !row.marked;
    };
    // The IDs to mark and to unmark, each in ID order.
    std::vector<qint64> ids[2];
    const int count = list->count();
    for (int i = 0; i < count; ++i)
        ids[markOf(list->row(i)) ? 1 : 0].push_back(list->row(i).id);
    for (auto& part : ids)
        std::sort(part.begin(), part.end());

    constexpr std::size_t kIdsPerStatement = 5000;
    std::atomic<std::size_t> written{0};
    db::Connection& cn = basDatabase::cnCookbook;
    window.setStatusText(QString("Processing recipe %1 of %2").arg(count > 0 ? 1 : 0).arg(count));
    runOffThread(
        [&] {
            db::Transaction transaction(cn, db::Transaction::OnScopeExit::Commit, db::Transaction::Lock::Immediate);
            db::Query write(cn, "UPDATE RECIPES SET MARK=?1 WHERE MARK IS NOT ?1 AND ID IN "
                                "(SELECT value FROM json_each(?2))");
            for (int mark : {0, 1}) {
                const std::vector<qint64>& part = ids[mark];
                for (std::size_t from = 0; from < part.size(); from += kIdsPerStatement) {
                    const std::size_t to = std::min(part.size(), from + kIdsPerStatement);
                    QByteArray idList = "[";
                    for (std::size_t i = from; i < to; ++i) {
                        idList += QByteArray::number(part[i]);
                        idList += i + 1 < to ? "," : "]";
                    }
                    write.reset();
                    write.bind(1, mark).bind(2, QString::fromLatin1(idList));
                    write.exec();
                    written += to - from;
                }
            }
            transaction.commit();
        },
        [&] {
            // The progress is written where the window can show it: right before it repaints.
            const std::size_t done = count == 0 ? 0 : std::max<std::size_t>(written, 1);
            window.setStatusText(QString("Processing recipe %1 of %2").arg(done).arg(count));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    if (view && list->count() == count)
        list->showMarks(markOf); // stored already: no second write from the check boxes
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
