#include "browser/frmMain.h"

#include "browser/CommandShortcuts.h"
#include "browser/MainBanner.h"
#include "browser/PageView.h"
#include "browser/RecipeListView.h"
#include "browser/RecipePage.h"
#include "core/DialogKeys.h"
#include "core/Helpers.h"
#include "core/OwnerFocus.h"
#include "core/PageFolder.h"
#include "core/RecipeListItems.h"
#include "core/Settings.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/ui/Ui.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QSet>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

namespace {

// Calls the tree's key-up handler for a key released on it, but only when that key was also pressed
// there: closing a dialog with Enter sends the release to whatever has the focus next.
class KeyUpFilter : public QObject {
public:
    explicit KeyUpFilter(frmMain* window) : QObject(window), window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat())
                pressed_.insert(key->key());
            break;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && pressed_.remove(key->key()))
                window_->tvRecipes_KeyUp(key->key(), key->modifiers());
            break;
        }
        case QEvent::FocusOut:
        case QEvent::Hide: pressed_.clear(); break;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    frmMain* window_;
    QSet<int> pressed_;
};

// The keys of the tree and the recipe list: the Menu key and Shift+F10 (and a context menu the platform
// raises from the keyboard) open the pop-up menu at the current row; Enter on the list shows its recipe.
class ViewKeys : public QObject {
public:
    explicit ViewKeys(frmMain* window) : QObject(window), window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* view = qobject_cast<QAbstractItemView*>(watched);
        if (!view)
            view = qobject_cast<QAbstractItemView*>(watched->parent()); // the view's viewport
        if (!view)
            return false;
        if (event->type() == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            window_->popupMenuFromKeyboard(view);
            return true;
        }
        if (event->type() != QEvent::KeyPress || watched != view)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
            (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
            window_->popupMenuFromKeyboard(view);
            return true;
        }
        if (view == window_->lstVRecipes()->view() && IsPlainEnter(key)) {
            window_->lstVRecipes_Click();
            return true;
        }
        return false;
    }

private:
    frmMain* window_;
};

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), commandBars_(this)
{
    setObjectName("frmMain");
    ReturnKeyboardToOwners();
    setWindowIcon(QIcon(":/icons/toolbar/cookbook.png"));
    resize(960, 680);

    menuBar()->setObjectName("cmdBar_0");
    menuBar()->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_ = addToolBar("TOOLBAR");
    toolBar_->setObjectName("cmdBar_1");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    createBanner(central);
    column->addWidget(imgDisplay_);

    // The vertical splitter bar stands between the tree and the right-hand panes, the horizontal one
    // between the list and the page. Only the bar moves while dragging; the panes follow on the drop.
    imgVSplit_ = new QSplitter(Qt::Horizontal, central);
    imgVSplit_->setObjectName("imgVSplit");
    imgVSplit_->setOpaqueResize(false);
    imgVSplit_->setChildrenCollapsible(false);
    tvRecipes_ = new QTreeWidget(imgVSplit_);
    tvRecipes_->setObjectName("tvRecipes");
    tvRecipes_->setAccessibleName("Browse by");
    tvRecipes_->setHeaderHidden(true);
    tvRecipes_->setSelectionMode(QAbstractItemView::SingleSelection);
    tvRecipes_->setContextMenuPolicy(Qt::CustomContextMenu);
    tvRecipes_->setIconSize(QSize(16, 16));
    imgHSplit_ = new QSplitter(Qt::Vertical, imgVSplit_);
    imgHSplit_->setObjectName("imgHSplit");
    imgHSplit_->setOpaqueResize(false);
    imgHSplit_->setChildrenCollapsible(false);
    lstVRecipes_ = new RecipeListView(imgHSplit_);
    lstVRecipes_->setObjectName("lstVRecipes");
    lstVRecipes_->setAccessibleName("Recipes");
    lstVRecipes_->setContextMenuPolicy(Qt::CustomContextMenu);
    wbMain_ = new PageView(imgHSplit_);
    wbMain_->setObjectName("wbMain");
    wbMain_->setAccessibleName("Recipe page");
    // Small minimums, so that the bars can go as far as the 1300-twip limits let them.
    for (QWidget* pane : {static_cast<QWidget*>(tvRecipes_), static_cast<QWidget*>(lstVRecipes_),
                          static_cast<QWidget*>(wbMain_)})
        pane->setMinimumSize(40, 40);
    imgVSplit_->setStretchFactor(0, 0);
    imgVSplit_->setStretchFactor(1, 1);
    imgHSplit_->setStretchFactor(0, 0);
    imgHSplit_->setStretchFactor(1, 1);
    imgVSplit_->setSizes({220, 740});
    imgHSplit_->setSizes({240, 360});
    column->addWidget(imgVSplit_, 1);
    setCentralWidget(central);

    statusBar()->setObjectName("stBar");
    statusBar()->setSizeGripEnabled(true);
    stBarText_ = new QLabel(this);
    stBarText_->setObjectName("stBarText");
    statusBar()->addWidget(stBarText_, 1);

    tmrClipBoard_ = new QTimer(this);
    tmrClipBoard_->setObjectName("tmrClipBoard");
    tmrClipBoard_->setInterval(1000);
    tmrStop_ = new QTimer(this);
    tmrStop_->setObjectName("tmrStop");
    tmrStop_->setInterval(2000);

    connect(tvRecipes_, &QTreeWidget::itemDoubleClicked, this, [this] { tvRecipes_DblClick(); });
    connect(tvRecipes_, &QTreeWidget::itemCollapsed, this, &frmMain::tvRecipes_Collapse);
    connect(tvRecipes_, &QTreeWidget::itemExpanded, this, &frmMain::tvRecipes_Expand);
    connect(tvRecipes_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { tvRecipes_MouseUp(Qt::RightButton, pos); });
    tvRecipes_->installEventFilter(new KeyUpFilter(this));
    // The list shows the page of its current recipe however that became current (a click, the arrows);
    // the click that made a row current does not show it twice.
    connect(lstVRecipes_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid())
                    return;
                if (!lstVRecipes_->selectionModel()->isSelected(current))
                    lstVRecipes_->selectRow(current.row());
                shownOnPress_ = QApplication::mouseButtons() != Qt::NoButton;
                lstVRecipes_Click();
            });
    connect(lstVRecipes_, &QAbstractItemView::clicked, this, [this] {
        if (!std::exchange(shownOnPress_, false))
            lstVRecipes_Click();
    });
    auto* viewKeys = new ViewKeys(this);
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{tvRecipes_, lstVRecipes_}) {
        view->installEventFilter(viewKeys);
        view->viewport()->installEventFilter(viewKeys);
    }
    // Only the user's change of a check box writes its mark; fills and the mark commands show the marks
    // they stored without a write.
    connect(lstVRecipes_->recipes(), &RecipeListModel::markToggled, this,
            [this](int row) { lstVRecipes_ItemCheck(row); });
    connect(lstVRecipes_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { lstVRecipes_MouseUp(Qt::RightButton, pos); });
    connect(wbMain_, &QTextBrowser::anchorClicked, this, &frmMain::wbMain_LinkClick);
    connect(imgVSplit_, &QSplitter::splitterMoved, this, [this](int pos) { imgVSplit_MouseUp(pos); });
    connect(imgHSplit_, &QSplitter::splitterMoved, this, [this](int pos) { imgHSplit_MouseUp(pos); });
    connect(tmrClipBoard_, &QTimer::timeout, this, &frmMain::tmrClipBoard_Timer);
    connect(tmrStop_, &QTimer::timeout, this, &frmMain::tmrStop_Timer);
    tmrStop_->start();

    basMain::setMainWindow(this);
    Form_Load();
}

frmMain::~frmMain()
{
    if (&basMain::mainWindow() == this)
        basMain::setMainWindow(nullptr);
}

void frmMain::createBanner(QWidget* parent)
{
    auto* banner = new MainBanner(parent);
    imgDisplay_ = banner;
    imgDisplay_->setObjectName("imgDisplay");
    imgDisplay_->setAttribute(Qt::WA_StyledBackground);
    imgDisplay_->setFixedHeight(38);
    imgDisplay_->setStyleSheet(
        "#imgDisplay { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #9a3412, stop:0.55 #c2410c, "
        "stop:1 #ea580c); }"
        "#lblDisplay { color: white; font-weight: bold; font-size: 11pt; }"
        "QToolButton { color: white; background: transparent; border: none; border-radius: 3px;"
        " font-weight: bold; padding: 2px 3px; min-width: 15px; }"
        "QToolButton:hover { background: rgba(255, 255, 255, 50); }"
        "QToolButton:pressed { background: rgba(0, 0, 0, 40); }"
        "QToolButton:focus { border: 1px dotted white; }"
        "QToolButton:disabled { color: rgba(255, 255, 255, 110); }");

    lblDisplay_ = banner->label();
    cmdList_ = banner->buttons();
    for (int i = 0; i < cmdList_.size(); ++i) {
        QToolButton* button = cmdList_[i];
        button->setEnabled(false);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QToolButton::clicked, this, [this, i] { cmdList_Click(i); });
    }
}

// ---- load and close

void frmMain::Form_Load()
{
    try {
        setWindowTitle(basMain::captionPrefix() + " (No current Cookbook)");
        if (!FolderExists(paths::resolve("\\temp")) && !QDir().mkpath(paths::resolve("\\temp")))
            throw AppError(AppError::PathFileAccess, "Path/File access error");
        pagefolder::start();
        restoreWindowGeometry();
        settleTemplatePath();
        restorePaneSizes();
        showBlankPage();
        buildCommandBars();
        restoreBarVisibility();
        restoreClipboardMonitor();
        reopenLastCookbook();
    } catch (...) {
        basMain::LogCurrentException("frmMain Load");
    }
}

void frmMain::settleTemplatePath()
{
    const QString stored = ReadINI("Options", "HTML Template");
    const QString standard = paths::resolve("\\templates\\default.html");
    if (stored.isEmpty()) {
        basMain::sTemplatePath = standard;
    } else if (FileExists(stored)) {
        basMain::sTemplatePath = stored;
    } else {
        basMain::sTemplatePath = standard;
        WriteINI("Options", "HTML Template", standard);
    }
}

void frmMain::buildCommandBars()
{
    menuBar()->setUpdatesEnabled(false);
    BuildCommandButtons(commandBars_);
    BuildCommandBars(commandBars_);
    ShowBar(menuBar(), commandBars_, "MENU");
    ShowBar(toolBar_, commandBars_, "TOOLBAR");
    menuBar()->setUpdatesEnabled(true);
    for (QAction* button : commandBars_.allButtons())
        connect(button, &QAction::triggered, this, [this, button] { cmdBar_ButtonClick(button); });
    SetCommandShortcuts(commandBars_, this);
}

namespace {
// A visibility or monitor setting read as a Boolean; empty, and text that is no Boolean, give `absent`.
bool booleanSetting(const QString& value, bool absent)
{
    if (value.isEmpty())
        return absent;
    bool ok = false;
    const bool b = toBoolean(value, &ok);
    return ok ? b : absent;
}

// The bar visibility keys are written to [Size]; older settings files hold them under [View].
QString barSetting(const QString& key)
{
    const QString value = ReadINI("Size", key);
    return value.isEmpty() ? ReadINI("View", key) : value;
}
} // namespace

void frmMain::restoreBarVisibility()
{
    const bool toolbar = booleanSetting(barSetting("Toolbar Visible"), true);
    toolBar_->setVisible(toolbar);
    setCheckMarks("Display Toolbar", toolbar);
    const bool statusbar = booleanSetting(barSetting("Statusbar Visible"), true);
    statusBar()->setVisible(statusbar);
    setCheckMarks("Display Status Bar", statusbar);
}

void frmMain::restoreClipboardMonitor()
{
    const bool monitor = booleanSetting(ReadINI("Options", "Monitor Clipboard"), false);
    if (monitor)
        tmrClipBoard_->start();
    else
        tmrClipBoard_->stop();
    setCheckMarks("Monitor Clipboard", monitor);
}

void frmMain::setCheckMarks(const QString& caption, bool checked)
{
    for (QAction* button : commandBars_.buttons(0))
        if (button->text() == caption)
            button->setChecked(checked);
}

void frmMain::reopenLastCookbook()
{
    const QString last = ReadINI("Options", "Last CookBook");
    if (ReadINI("Options", "Open Last") != "True" || last.isEmpty())
        return;
    if (basDatabase::OpenCookbook(last)) {
        EnableToolBarButtons();
        RefreshViews();
    }
}

void frmMain::Form_QueryUnload()
{
    if (unloading_)
        return;
    unloading_ = true;
    tmrClipBoard_->stop();
    tmrStop_->stop();
    try {
        saveWindowGeometry();
    } catch (...) {
    }
    try {
        if (ReadINI("Options", "Clear Checked") == "True") {
            // Clearing many marks takes seconds: the window goes at once, and the program ends once the
            // marks are cleared.
            hide();
            basDatabase::ClearAllMarks();
        }
    } catch (...) {
    }
    basMain::ShutDown();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    event->accept();
}

// ---- timers

void frmMain::tmrClipBoard_Timer()
{
    // A tick never starts a capture while a dialog is up or another fill, import or capture runs.
    if (basDatabase::sCurrentCookbook.isEmpty() || QApplication::activeModalWidget() || ui::isBusy())
        return;
    try {
        CheckClipoard();
    } catch (...) {
    }
}

void frmMain::tmrStop_Timer()
{
    if (basMain::bShutdownPending)
        basMain::ShutDown();
}

// ---- public operations

void frmMain::EnableToolBarButtons()
{
    for (QToolButton* button : cmdList_)
        button->setEnabled(true);
    for (const QString& key : CookbookButtonKeys())
        if (QAction* button = commandBars_.button(key))
            button->setEnabled(true);
}

RecipeList* frmMain::lstVRecipes() { return lstVRecipes_; }

void frmMain::ResetScreen()
{
    for (const QString& key : CookbookButtonKeys())
        if (QAction* button = commandBars_.button(key))
            button->setEnabled(false);
    clearTreeAndList();
    for (QToolButton* button : cmdList_)
        button->setEnabled(false);
    basDatabase::sCurrentCookbook.clear();
    // The caption must not go on naming a cookbook that was closed, deleted or failed to open.
    setWindowTitle(basMain::captionPrefix() + " (No current Cookbook)");
}

void frmMain::DisplayRecipe(const QString& sRecipeKey, bool bEmail)
{
    try {
        QString picture;
        const QString page = WriteRecipePage(sRecipeKey, bEmail, &picture);
        if (bEmail)
            return;
        shownPicture_ = page.isEmpty() ? QString() : picture;
        if (page.isEmpty()) {
            showBlankPage();
        } else {
            navigate(page);
            shownKey_ = sRecipeKey;
        }
    } catch (...) {
        if (bEmail)
            throw;
        basMain::LogCurrentException("Function DisplayRecipe");
    }
}

void frmMain::setStatusText(const QString& text) { stBarText_->setText(text); }
QString frmMain::statusText() const { return stBarText_->text(); }

QString frmMain::locationName() const { return wbMain_->source().fileName(); }

void frmMain::showBlankPage()
{
    shownKey_.clear();
    if (locationName() != "blank.html")
        navigate(paths::resolve("\\data\\blank.html"));
}

void frmMain::listReplaced(bool keepBanner)
{
    if (!keepBanner)
        lblDisplay_->clear();
    bool isId = false;
    const qint64 id = shownKey_.mid(1).toLongLong(&isId);
    const int shown = isId ? lstVRecipes_->rowOf(id) : -1;
    if (shown < 0)
        showBlankPage();
    else if (lstVRecipes_->selectedRow() != shown)
        lstVRecipes_->selectRow(shown);
}

void frmMain::navigate(const QString& path)
{
    const QUrl url = QUrl::fromLocalFile(path);
    // The same page written again must be read again.
    if (wbMain_->source() == url)
        wbMain_->reload();
    else
        wbMain_->setSource(url);
}

void frmMain::wbMain_LinkClick(const QUrl& link)
{
    basMain::RunHandler("wbMain LinkClick", [&] {
        // A web or mail link opens outside; the page stays. A link within the page scrolls to its place.
        static const QStringList outside{"http", "https", "ftp", "mailto"};
        if (outside.contains(link.scheme(), Qt::CaseInsensitive))
            ui::openDocument(link.toString());
        else if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment())
            wbMain_->scrollToAnchor(link.fragment());
    });
}
