#pragma once
// What the rest of the program may ask of the main window. frmMain implements it; code below the
// browser layer reaches the window only through `basMain::mainWindow()`, which answers with a window
// that does nothing (but keeps the no-cookbook state) while no main window exists.
#include "core/RecipeList.h"

#include <QString>
#include <QtCore/qnamespace.h>

class QTreeWidget;
class QWidget;

// Column 0 of every browse-tree node and recipe-list row keeps the item's key and tag in these roles.
// Tree: a root's key is its name ("Categories", "Ingredients", "Country", "Recipes", "Favourites"); a
// child's key is its branch letter ("A" category, "I" ingredient, "C" country, "F" favourite row) followed
// by the row's ID, "List All" has "RECIPES1"; a favourite's tag is the favourite row's ID.
// List: the key is "R" followed by the recipe's ID (the role holds the ID alone), the tag is the ID.
// Fill the list with core/RecipeListItems.h so that every fill makes the same rows.
inline constexpr int ItemKeyRole = Qt::UserRole;
inline constexpr int ItemTagRole = Qt::UserRole + 1;

class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    virtual QWidget* widget() = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual QString caption() const = 0;

    // The window's public operations.
    // Writes the recipe's page and shows it; a failure is reported here. In e-mail mode (`bEmail`) the page
    // is only written, and a failure is raised to the caller, which reports it once.
    virtual void DisplayRecipe(const QString& sRecipeKey, bool bEmail) = 0;
    virtual void EnableToolBarButtons() = 0;
    virtual void RefreshFavourites() = 0;
    virtual void RefreshViews() = 0;
    virtual void ResetScreen() = 0;

    // Controls that other windows fill or read: the browse tree and the recipe list (rows with check
    // boxes shown in two columns, "Title" and "Categories"; see core/RecipeList.h), the status
    // bar's text, and showing the blank page in the page view (nothing happens when it is shown already).
    virtual QTreeWidget* tvRecipes() = 0;
    virtual RecipeList* lstVRecipes() = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual QString statusText() const = 0;
    virtual void showBlankPage() = 0;

    // Opens the Preferences dialog on one of its pages (0 General, 1 Email, 2 Clipboard) over `parent`,
    // a dialog that keeps the window itself blocked; returns once it has closed.
    virtual void ShowPreferences(int page, QWidget* parent) = 0;
    // Someone other than the browse tree emptied or refilled the recipe list: the banner is cleared
    // (unless `keepBanner`, for a list narrowed within what the banner names), and the page goes blank
    // unless the recipe it shows is still listed, which is then selected. The caller writes the count.
    virtual void listReplaced(bool keepBanner) = 0;
};

// A main window without a window: keeps its caption and status text and does nothing else. The stand-in
// that `basMain::mainWindow()` answers with while there is no main window builds on it.
class NullMainWindow : public IMainWindow {
public:
    QWidget* widget() override { return nullptr; }
    void setCaption(const QString& caption) override { caption_ = caption; }
    QString caption() const override { return caption_; }
    void DisplayRecipe(const QString&, bool) override {}
    void EnableToolBarButtons() override {}
    void RefreshFavourites() override {}
    void RefreshViews() override {}
    void ResetScreen() override {}
    QTreeWidget* tvRecipes() override { return nullptr; }
    RecipeList* lstVRecipes() override { return nullptr; }
    void setStatusText(const QString& text) override { status_ = text; }
    QString statusText() const override { return status_; }
    void showBlankPage() override {}
    void ShowPreferences(int, QWidget*) override {}
    void listReplaced(bool) override {}

private:
    QString caption_, status_;
};
