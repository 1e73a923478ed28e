#pragma once
// The main window: banner with the letter buttons, browse tree, recipe list and page view in three panes,
// the menu bar and toolbar made from the command keys, the status bar and the two timers.
//
// frmMain.cpp holds the frame (controls, load, close, timers, public operations), frmMainLayout.cpp the
// geometry and splitters, frmMainCommands.cpp the command dispatch, BrowseTree.cpp the tree and list.
#include "browser/CommandBar.h"
#include "core/MainWindow.h"

#include <QMainWindow>
#include <memory>
#include <optional>

class QAbstractItemView;
class QLabel;
class QPrinter;
class RecipeListView;
class QSplitter;
class QTextBrowser;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

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
    RecipeList* lstVRecipes() override;
    void setStatusText(const QString& text) override;
    QString statusText() const override;
    void showBlankPage() override;
    void ShowPreferences(int page, QWidget* parent) override;
    void listReplaced(bool keepBanner) override;

    // Event handlers
    void Form_Load();
    void Form_QueryUnload();
    void Form_Resize();
    void cmdBar_ButtonClick(QAction* button);
    void tvRecipes_DblClick();
    void tvRecipes_KeyUp(int key, Qt::KeyboardModifiers shift);
    void tvRecipes_Collapse(QTreeWidgetItem* node);
    void tvRecipes_Expand(QTreeWidgetItem* node);
    void tvRecipes_MouseUp(Qt::MouseButton button, const QPoint& pos);
    void lstVRecipes_Click();
    // The user set or cleared the check box of the list's row `row`.
    void lstVRecipes_ItemCheck(int row);
    void lstVRecipes_MouseUp(Qt::MouseButton button, const QPoint& pos);
    // The Menu key or Shift+F10 on the tree or the list: its pop-up menu, at the current row.
    void popupMenuFromKeyboard(QAbstractItemView* view);
    void cmdList_Click(int index);
    // A splitter dropped at `pos`, in pixels from the splitter's own left (vertical) or top (horizontal).
    void imgVSplit_MouseUp(int pos);
    void imgHSplit_MouseUp(int pos);
    // A click on a link in the page view.
    void wbMain_LinkClick(const QUrl& link);
    void tmrClipBoard_Timer();
    void tmrStop_Timer();

    // The command button with this key, nullptr when there is none.
    QAction* commandButton(const QString& key) const { return commandBars_.button(key); }
    // The file name of the page the page view shows ("" when none).
    QString locationName() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

    // The modal printing dialogs, one function each, so that tests can answer them.
    virtual bool execPrintDialog(QPrinter& printer);
    virtual void execPrintPreview(QPrinter& printer);
    virtual bool execPageSetup(QPrinter& printer);
    // Prints the page on display.
    void printPage(QPrinter* printer);

private:
    void createBanner(QWidget* parent);
    void navigate(const QString& path);

    // Load steps that read the settings.
    void restoreWindowGeometry();
    void settleOuterSize();
    void noteNormalFrame();
    void settleTemplatePath();
    void restorePaneSizes();
    void buildCommandBars();
    void restoreBarVisibility();
    void restoreClipboardMonitor();
    void reopenLastCookbook();
    // Close: [Size] keys.
    void saveWindowGeometry();

    // Layout and splitters (twips in the settings, pixels on screen).
    void SizeControls();
    // The window's outer width in twips: the vertical splitter's limit.
    double outerWidthTwips() const;
    void placeVerticalSplitter(int windowX);
    void placeHorizontalSplitter(int windowY);
    void setCheckMarks(const QString& caption, bool checked);

    // Browse tree.
    QTreeWidgetItem* addRoot(const QString& text, const QString& key, int image);
    QTreeWidgetItem* addChild(QTreeWidgetItem* root, const QString& key, const QString& text, int image);
    void addReferenceBranch(const QString& rootText, const QString& rootKey, const QString& sql,
                            const QString& column, const QString& keyLetter, int image);
    void addFavourites(QTreeWidgetItem* root);
    void clearTreeAndList();
    // The list emptied: the banner, the count and the page go with it.
    void listEmptied();

    // Commands (frmMainCommands.cpp).
    void showCookbookManager();
    void saveRecipe();
    void printRecipe();
    void previewRecipe();
    void pageSetup();
    void toggleToolbar();
    void toggleStatusBar();
    void switchClipboardMonitor(QAction* button);
    void openHelpContents();
    void showAbout();
    void addRecipe();
    void editRecipe();
    void deleteRecipe();
    void sendEmail();
    QPrinter& printer();

    // The program's other windows, opened from the commands (frmMainWindows.cpp).
    void showRecipeEditor();
    void showDeleteDialog();
    void showEditCategories();
    void showEditIngredients();
    void showEditUnitsOfMeasure();
    void showOptions();
    void showSearch();
    void showEmail();
    void showImport();
    void showExport();
    void showWineList();
    void showConverters();
    void showMealMaker();
    // The clipboard watcher and the two pop-up menus.
    void CheckClipoard();
    // `onRow`: raised on a row of the list (else in its empty part, without the commands that need one).
    void popupSortMenu(const QPoint& globalPos, bool onRow);
    void popupDeleteMenu(const QPoint& globalPos);

    QToolBar* toolBar_ = nullptr;
    QWidget* imgDisplay_ = nullptr;
    QLabel* lblDisplay_ = nullptr;
    QList<QToolButton*> cmdList_;
    QSplitter* imgVSplit_ = nullptr;
    QSplitter* imgHSplit_ = nullptr;
    QTreeWidget* tvRecipes_ = nullptr;
    RecipeListView* lstVRecipes_ = nullptr;
    QTextBrowser* wbMain_ = nullptr;
    QLabel* stBarText_ = nullptr;
    QTimer* tmrClipBoard_ = nullptr;
    QTimer* tmrStop_ = nullptr;
    CommandBarStore commandBars_;
    std::unique_ptr<QPrinter> printer_;
    // Pane sizes read at load; the first layout uses them.
    std::optional<int> pendingTreeWidth_;
    std::optional<int> pendingListHeight_;
    // The stored outer size, until the window manager's frame is known.
    std::optional<QSize> pendingOuterSize_;
    // The outer frame the window has in the normal state, or goes back to from maximized or minimized.
    std::optional<QRect> normalFrame_;
    bool unloading_ = false;
    bool shownOnPress_ = false; // the recipe list showed the row a mouse press made current
    // The picture written beside the recipe page on display ("" for none): the one Save Recipe copies.
    QString shownPicture_;
    // The key of the recipe the page shows ("" for none).
    QString shownKey_;
};
