#pragma once
// What the main window's tests share: a scratch program folder, the recorder in front of message boxes,
// the settings file, a cookbook with recipes, and finding nodes and controls.
#include "support/ListRows.h"
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"

#include "browser/frmMain.h"
#include "core/DE.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basDatabase.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

class BrowserTest : public ::testing::Test {
protected:
    BrowserTest() { useSmallReferenceLists(); }

    ScratchProgram program;
    UiRecorder recorder;

    // Known, short reference lists in place of the shipped ones.
    static void useSmallReferenceLists()
    {
        DE.cn.exec("DELETE FROM CATEGORY; DELETE FROM INGREDIENT; DELETE FROM ORIGIN;"
                   "INSERT INTO CATEGORY (CATEGORY) VALUES ('Desserts'), ('Main Dish'), ('Soups');"
                   "INSERT INTO INGREDIENT (INGREDIENT) VALUES ('Flour'), ('Sugar'), ('Butter');"
                   "INSERT INTO ORIGIN (ORIGIN) VALUES ('France'), ('Italy'), ('Cote d''Ivoire');");
    }

    // Writes the settings file as given (a Windows-written file has CR LF line ends).
    void writeSettings(const QByteArray& content) { writeBytes(program.path("TQSettings.ini"), content); }

    // A cookbook "Family.tqc" with a few recipes, closed again so that a window can open it.
    QString makeCookbook()
    {
        const QString file = program.createCookbook("Family");
        ScratchProgram::addRecipe("Beef Stew", "Main Dish", "2 cups Flour", "Italy");
        ScratchProgram::addRecipe("apple Crumble", "Desserts", "Sugar, Butter", "France");
        ScratchProgram::addRecipe("Carrot Soup", "Soups", "Butter", "France");
        ScratchProgram::addRecipe("Mom$$s Pie", "Desserts,Main Dish", "Flour, Sugar", "");
        basDatabase::cnCookbook.exec("UPDATE RECIPES SET MARK=1 WHERE TITLE='Carrot Soup'");
        basDatabase::CloseCookbook();
        return file;
    }

    // A window started with "Open Last" on the cookbook.
    std::unique_ptr<frmMain> openWindow(const QString& cookbook)
    {
        writeSettings("[Options]\r\nOpen Last=True\r\nLast CookBook=" + cookbook.toUtf8() + "\r\n");
        return std::make_unique<frmMain>();
    }

    static QTreeWidgetItem* root(QTreeWidget* tree, const QString& key)
    {
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (recipelist::itemKey(tree->topLevelItem(i)) == key)
                return tree->topLevelItem(i);
        return nullptr;
    }

    static QTreeWidgetItem* child(QTreeWidget* tree, const QString& rootKey, const QString& text)
    {
        QTreeWidgetItem* r = root(tree, rootKey);
        for (int i = 0; r && i < r->childCount(); ++i)
            if (r->child(i)->text(0) == text)
                return r->child(i);
        return nullptr;
    }

    static QStringList titles(RecipeList* list) { return listTitles(list); }

    static std::optional<ListRow> listItem(RecipeList* list, const QString& title) { return listRow(list, title); }

    // Answers the next modal dialog that opens (within five seconds) by handing it to `answer`, which
    // must close it.
    static void whenModalOpens(std::function<void(QWidget*)> answer)
    {
        auto* poll = new QTimer;
        auto started = std::make_shared<qint64>(QDateTime::currentMSecsSinceEpoch());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, started] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                poll->deleteLater();
                answer(modal);
            } else if (QDateTime::currentMSecsSinceEpoch() - *started > 5000) {
                poll->deleteLater();
                ADD_FAILURE() << "no modal dialog opened";
            }
        });
        poll->start(10);
    }

    std::optional<qint64> markOf(const QString& title)
    {
        db::Connection c;
        c.open(program.path("data/cookbooks/Family.tqc"));
        db::Query q(c, "SELECT MARK FROM RECIPES WHERE TITLE=?1", {title});
        if (!q.next())
            return std::nullopt;
        return q.value("MARK").toLongLong();
    }
};
