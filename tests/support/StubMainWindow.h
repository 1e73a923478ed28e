#pragma once
// A main window without a window, for tests: it stands as basMain's main window for as long as it lives,
// keeps its caption and status text and does nothing else. Tests override what they watch.
#include "core/MainWindow.h"
#include "core/basMain.h"

#include <QString>

class StubMainWindow : public IMainWindow {
public:
    StubMainWindow() { basMain::setMainWindow(this); }
    ~StubMainWindow() override { basMain::setMainWindow(nullptr); }
    StubMainWindow(const StubMainWindow&) = delete;
    StubMainWindow& operator=(const StubMainWindow&) = delete;

    QWidget* widget() override { return nullptr; }
    void setCaption(const QString& caption) override { caption_ = caption; }
    QString caption() const override { return caption_; }
    void DisplayRecipe(const QString&, bool) override {}
    void EnableToolBarButtons() override {}
    void RefreshFavourites() override {}
    void RefreshViews() override {}
    void ResetScreen() override {}
    QTreeWidget* tvRecipes() override { return nullptr; }
    QTreeWidget* lstVRecipes() override { return nullptr; }
    void setStatusText(const QString& text) override { status_ = text; }
    QString statusText() const override { return status_; }
    void showBlankPage() override {}

private:
    QString caption_, status_;
};
