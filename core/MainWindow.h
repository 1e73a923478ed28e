#pragma once
// What the rest of the program may ask of the main window. frmMain implements it; code below the
// browser layer reaches the window only through `basMain::mainWindow()`, which answers with a window
// that does nothing (but keeps the no-cookbook state) while no main window exists.
#include <QString>

class QTreeWidget;
class QWidget;

class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    virtual QWidget* widget() = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual QString caption() const = 0;

    // The window's public operations.
    virtual void DisplayRecipe(const QString& sRecipeKey, bool bEmail) = 0;
    virtual void EnableToolBarButtons() = 0;
    virtual void RefreshFavourites() = 0;
    virtual void RefreshViews() = 0;
    virtual void ResetScreen() = 0;

    // Controls that other windows fill or read: the browse tree and the recipe list (a report list with
    // check boxes: column 0 "Title", column 1 "Categories"; the item key "R" & ID is kept in Qt::UserRole
    // of column 0), the status bar's text, and showing the blank page in the page view.
    virtual QTreeWidget* tvRecipes() = 0;
    virtual QTreeWidget* lstVRecipes() = 0;
    virtual void setStatusText(const QString& text) = 0;
    virtual QString statusText() const = 0;
    virtual void showBlankPage() = 0;
};
