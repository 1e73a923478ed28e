#pragma once
// The main window.
#include "core/MainWindow.h"

#include <QMainWindow>

class QLabel;
class QTextBrowser;
class QTreeWidget;

class frmMain : public QMainWindow, public IMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // IMainWindow
    QWidget* widget() override { return this; }
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    QString caption() const override { return windowTitle(); }
    void DisplayRecipe(const QString& sRecipeKey, bool bEmail) override;
    void EnableToolBarButtons() override;
    void RefreshFavourites() override;
    void RefreshViews() override;
    void ResetScreen() override;
    QTreeWidget* tvRecipes() override { return tvRecipes_; }
    QTreeWidget* lstVRecipes() override { return lstVRecipes_; }
    void setStatusText(const QString& text) override;
    QString statusText() const override;
    void showBlankPage() override;

    // Event handlers
    void Form_Load();
    void Form_QueryUnload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTreeWidget* tvRecipes_ = nullptr;
    QTreeWidget* lstVRecipes_ = nullptr;
    QTextBrowser* wbMain_ = nullptr;
    QLabel* stBarText_ = nullptr;
    bool unloading_ = false;
};
