#pragma once
// The command buttons of the main window's menu bar and toolbar, and the bars (drop-down menus) made
// from their keys. A key is made of colon-separated parts ("MENU:FILE:OPEN"); a button whose key begins
// with another key and has exactly one part more is that button's child and stands on its drop-down bar,
// so the shape of the menus follows from the keys alone.
//
// A button is a QAction: its objectName is its key, its text the caption ("&" marks the access letter),
// and it carries its image index, style, command-bar element (0 the menu bar, 1 the toolbar) and bar
// flags as properties. A bar is a QMenu whose objectName is the bar's key.
#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

enum class ButtonStyle { Normal = 0, Separator = 1, Check = 4 };

class CommandBarStore {
public:
    explicit CommandBarStore(QWidget* owner);

    QAction* addButton(int element, const QString& key, int image, const QString& caption, ButtonStyle style);
    QAction* button(const QString& key) const;     // nullptr when no button has the key
    QList<QAction*> buttons(int element) const;    // in creation order
    QList<QAction*> allButtons() const;

    QMenu* addBar(const QString& key, const QString& title);
    QMenu* bar(const QString& key) const;          // nullptr when no bar has the key

    static QString key(const QAction* button);
    static int image(const QAction* button);
    static int element(const QAction* button);
    static bool captionOnBar(const QAction* button);
    static bool hasArrow(const QAction* button);
    static void setCaptionOnBar(QAction* button, bool on);
    static void setArrow(QAction* button, bool on);
    static void setBar(QAction* button, QMenu* bar);

private:
    QWidget* owner_;
    QList<QAction*> buttons_[2];
    QList<QMenu*> bars_;
};

// The key's colon-separated parts.
QStringList SplitToCollection(const QString& key);

// Creates the window's 42 buttons and the two toolbar drop-downs "VIEWMENU" and "PRINTMENU".
void BuildCommandButtons(CommandBarStore& store);
// Builds the bar of `parentKey` from the element's buttons that are its children, hangs it under
// `parentButton` (when given), and does the same for every child in turn.
void AddChildButtons(CommandBarStore& store, int element, const QString& parentKey, QAction* parentButton);
// Every bar that follows from the keys: "MENU" and its menus on the menu bar, "TOOLBAR" on the toolbar.
void BuildCommandBars(CommandBarStore& store);

// Shows a bar's buttons on the window's menu bar or toolbar. Buttons on the toolbar take their images from
// `iList`; every other button from `ilsIcons`.
void ShowBar(QMenuBar* menuBar, const CommandBarStore& store, const QString& barKey);
void ShowBar(QToolBar* toolBar, const CommandBarStore& store, const QString& barKey);

// The keys of the toolbar buttons that need an open cookbook.
const QStringList& CookbookButtonKeys();
