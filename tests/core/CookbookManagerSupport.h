#pragma once
// Shared by the Cookbook Manager and Edit Cookbook tests: cookbook files made on disk, a main window that
// records what it is asked to do, and an answer to a modal dialog that the code under test opens.
#include "core/MainWindow.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "support/ModalAnswer.h"
#include "support/StubMainWindow.h"
#include "support/TestFiles.h"

#include <QDialog>
#include <QStringList>
#include <gtest/gtest.h>

// Makes the cookbook file (not opened) with an Identifier row when `name` is given, and `recipes`
// recipes of which the first `deleted` are deleted again (so that compaction has space to free).
inline void MakeCookbook(const QString& file, const QVariant& name, const QString& description = {},
                         int recipes = 0, int deleted = 0)
{
    basDatabase::CreateCookbook(file);
    db::Connection cn;
    cn.open(basDatabase::CookbookPath(file));
    db::Transaction t(cn);
    if (name.isValid())
        db::Query(cn, "INSERT INTO IDENTIFIER (NAME, DESCRIPTION) VALUES (?1, ?2)", {name, description}).exec();
    db::Query insert(cn, "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
                         "VALUES (?1, 'A', 'Soup', ?2, 'Stir.')");
    for (int i = 0; i < recipes; ++i) {
        insert.reset();
        insert.bind(1, "Recipe " + QString::number(i)).bind(2, QString(300, 'x'));
        insert.exec();
    }
    if (deleted > 0)
        db::Query(cn, "DELETE FROM RECIPES WHERE ID <= ?1", {deleted}).exec();
    t.commit();
}

// The main window's operations, recorded in the order they are called.
class RecordingWindow final : public StubMainWindow {
public:
    QStringList calls;
    void DisplayRecipe(const QString&, bool) override { calls << "DisplayRecipe"; }
    void EnableToolBarButtons() override { calls << "EnableToolBarButtons"; }
    void RefreshFavourites() override { calls << "RefreshFavourites"; }
    void RefreshViews() override { calls << "RefreshViews"; }
    void ResetScreen() override { calls << "ResetScreen"; }
    void showBlankPage() override { calls << "showBlankPage"; }
};

