#include "browser/frmMain.h"

#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"

#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    auto* split = new QSplitter(Qt::Horizontal, this);
    tvRecipes_ = new QTreeWidget(split);
    tvRecipes_->setObjectName("tvRecipes");
    auto* right = new QSplitter(Qt::Vertical, split);
    lstVRecipes_ = new QTreeWidget(right);
    lstVRecipes_->setObjectName("lstVRecipes");
    wbMain_ = new QTextBrowser(right);
    wbMain_->setObjectName("wbMain");
    setCentralWidget(split);
    stBarText_ = new QLabel(this);
    statusBar()->setObjectName("stBar");
    statusBar()->addWidget(stBarText_, 1);
    basMain::setMainWindow(this);
    Form_Load();
}

frmMain::~frmMain()
{
    if (&basMain::mainWindow() == this)
        basMain::setMainWindow(nullptr);
}

void frmMain::Form_Load()
{
    setWindowTitle(basMain::captionPrefix() + " (No current Cookbook)");
}

void frmMain::Form_QueryUnload()
{
    basMain::ShutDown();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!unloading_) {
        unloading_ = true;
        Form_QueryUnload();
    }
    event->accept();
}

void frmMain::DisplayRecipe(const QString&, bool) {}
void frmMain::EnableToolBarButtons() {}
void frmMain::RefreshFavourites() {}
void frmMain::RefreshViews() {}

void frmMain::ResetScreen()
{
    tvRecipes_->clear();
    lstVRecipes_->clear();
    basDatabase::sCurrentCookbook.clear();
}

void frmMain::setStatusText(const QString& text) { stBarText_->setText(text); }
QString frmMain::statusText() const { return stBarText_->text(); }

void frmMain::showBlankPage()
{
    wbMain_->setSource(QUrl::fromLocalFile(paths::resolve("\\data\\blank.html")));
}
