#include "browser/CommandBar.h"

#include "browser/ImageLists.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>

namespace {

const char* const ImageProperty = "imageIndex";
const char* const ElementProperty = "cmdBarElement";
const char* const CaptionOnBarProperty = "captionOnBar";
const char* const ArrowProperty = "arrow";

enum Flag { OnBar = 1, Disabled = 2, Arrow = 4 };

struct ButtonRow {
    const char* key;
    const char* caption;
    int image;
    ButtonStyle style;
    int flags;
};

constexpr ButtonStyle N = ButtonStyle::Normal, S = ButtonStyle::Separator, C = ButtonStyle::Check;

// Creation order is the order on the bars. Rows up to "MENU:HELP:ABOUT" go on the menu bar, the rest on
// the toolbar.
const ButtonRow MenuButtons[] = {
    {"MENU:FILE", "&File", -1, N, OnBar},
    {"MENU:EDIT", "&Edit", -1, N, OnBar},
    {"MENU:VIEW", "&View", -1, N, OnBar},
    {"MENU:CLIP", "&Clipboard", -1, N, OnBar},
    {"MENU:HELP", "&Help", -1, N, OnBar},
    {"MENU:FILE:OPEN", "Cookbook Manager", 1, N, 0},
    {"MENU:FILE:SAVE", "Save Recipe", 2, N, 0},
    {"MENU:FILE:SEP1", "", -1, S, 0},
    {"MENU:FILE:PRINT", "Print", 3, N, 0},
    {"MENU:FILE:PRINTPREVIEW", "Print Preview", 4, N, 0},
    {"MENU:FILE:PAGESETUP", "Page Setup", -1, N, 0},
    {"MENU:FILE:SEPERATOR", "", -1, S, 0},
    {"MENU:FILE:EXIT", "Exit", 10, N, 0},
    {"MENU:EDIT:EDITCAT", "Edit Categories", 12, N, 0},
    {"MENU:EDIT:EDITING", "Edit Ingredients", -1, N, 0},
    {"MENU:EDIT:EDITUOM", "Edit Units Of Measure", -1, N, 0},
    {"MENU:VIEW:DISPTOOLBAR", "Display Toolbar", -1, C, 0},
    {"MENU:VIEW:DISPSTATUSBAR", "Display Status Bar", -1, C, 0},
    {"MENU:VIEW:SEP", "", -1, S, 0},
    {"MENU:VIEW:DISPOPTIONS", "Options", -1, N, 0},
    {"MENU:CLIP:MONITOR", "Monitor Clipboard", -1, C, 0},
    {"MENU:HELP:CONTENTS", "Contents", 8, N, 0},
    {"MENU:HELP:SEP", "", -1, S, 0},
    {"MENU:HELP:ABOUT", "About", -1, N, 0},
};

const ButtonRow ToolbarButtons[] = {
    {"TOOLBAR:OPENCOOKBOOK", "Cookbook Manager", 0, N, OnBar},
    {"TOOLBAR:ADDRECIPE", "Add Recipe", 1, N, OnBar | Disabled},
    {"TOOLBAR:EDITRECIPE", "Edit Recipe", 2, N, OnBar | Disabled},
    {"TOOLBAR:DELETERECIPE", "Delete Recipe", 3, N, OnBar | Disabled},
    {"TOOLBAR:SEP1", "", -1, S, OnBar},
    {"TOOLBAR:SEARCH", "Search", 4, N, OnBar | Disabled},
    {"TOOLBAR:EMAIL", "Email", 5, N, OnBar | Disabled},
    {"TOOLBAR:IMPORT", "Import/Export", 6, N, OnBar | Disabled | Arrow},
    {"TOOLBAR:PRINT", "Print", 7, N, OnBar | Disabled | Arrow},
    {"TOOLBAR:SEP2", "", -1, S, OnBar},
    {"TOOLBAR:WINE", "Wine", 8, N, OnBar},
    {"TOOLBAR:CONVERT", "Conversions", 9, N, OnBar},
    {"TOOLBAR:MEALMAKER", "MealMaker", 10, N, OnBar | Disabled},
    {"SUB:IMPORT", "&Import From File", -1, N, OnBar},
    {"SUB:EXPORT", "&Export to file", 2, N, OnBar},
    {"SUB:PRINT", "&Print", 3, N, OnBar},
    {"SUB:PRINTPREVIEW", "P&rint Preview", 4, N, OnBar},
    {"SUB:PRINTSETUP", "P&age Setup", -1, N, OnBar},
};

void addRows(CommandBarStore& store, int element, const ButtonRow* begin, const ButtonRow* end)
{
    for (const ButtonRow* row = begin; row != end; ++row) {
        QAction* button = store.addButton(element, row->key, row->image, row->caption, row->style);
        CommandBarStore::setCaptionOnBar(button, row->flags & OnBar);
        if (row->flags & Disabled)
            button->setEnabled(false);
        CommandBarStore::setArrow(button, row->flags & Arrow);
    }
}

QMenu* dropDown(CommandBarStore& store, const QString& barKey, const QStringList& buttonKeys, const QString& parentKey)
{
    QMenu* bar = store.addBar(barKey, "");
    for (const QString& key : buttonKeys)
        bar->addAction(store.button(key));
    CommandBarStore::setBar(store.button(parentKey), bar);
    return bar;
}

// Drop-down items take their images from ilsIcons, wherever they hang.
void setMenuImages(const QMenu* bar)
{
    for (QAction* button : bar->actions()) {
        button->setIcon(images::ilsIcons(CommandBarStore::image(button)));
        if (button->menu())
            setMenuImages(button->menu());
    }
}

} // namespace

CommandBarStore::CommandBarStore(QWidget* owner) : owner_(owner) {}

QAction* CommandBarStore::addButton(int element, const QString& key, int image, const QString& caption,
                                    ButtonStyle style)
{
    auto* button = new QAction(caption, owner_);
    button->setObjectName(key);
    button->setProperty(ImageProperty, image);
    button->setProperty(ElementProperty, element);
    button->setSeparator(style == ButtonStyle::Separator);
    button->setCheckable(style == ButtonStyle::Check);
    buttons_[element == 0 ? 0 : 1].append(button);
    return button;
}

QAction* CommandBarStore::button(const QString& key) const
{
    for (const auto& list : buttons_)
        for (QAction* b : list)
            if (b->objectName() == key)
                return b;
    return nullptr;
}

QList<QAction*> CommandBarStore::buttons(int element) const { return buttons_[element == 0 ? 0 : 1]; }
QList<QAction*> CommandBarStore::allButtons() const { return buttons_[0] + buttons_[1]; }

QMenu* CommandBarStore::addBar(const QString& key, const QString& title)
{
    auto* bar = new QMenu(title, owner_);
    bar->setObjectName(key);
    bars_.append(bar);
    return bar;
}

QMenu* CommandBarStore::bar(const QString& key) const
{
    for (QMenu* b : bars_)
        if (b->objectName() == key)
            return b;
    return nullptr;
}

QString CommandBarStore::key(const QAction* button) { return button->objectName(); }
int CommandBarStore::image(const QAction* button) { return button->property(ImageProperty).toInt(); }
int CommandBarStore::element(const QAction* button) { return button->property(ElementProperty).toInt(); }
bool CommandBarStore::captionOnBar(const QAction* button) { return button->property(CaptionOnBarProperty).toBool(); }
bool CommandBarStore::hasArrow(const QAction* button) { return button->property(ArrowProperty).toBool(); }
void CommandBarStore::setCaptionOnBar(QAction* button, bool on) { button->setProperty(CaptionOnBarProperty, on); }
void CommandBarStore::setArrow(QAction* button, bool on) { button->setProperty(ArrowProperty, on); }
void CommandBarStore::setBar(QAction* button, QMenu* bar) { button->setMenu(bar); }

QStringList SplitToCollection(const QString& key) { return key.split(':'); }

void BuildCommandButtons(CommandBarStore& store)
{
    addRows(store, 0, std::begin(MenuButtons), std::end(MenuButtons));
    addRows(store, 1, std::begin(ToolbarButtons), std::end(ToolbarButtons));
    dropDown(store, "VIEWMENU", {"SUB:IMPORT", "SUB:EXPORT"}, "TOOLBAR:IMPORT");
    dropDown(store, "PRINTMENU", {"SUB:PRINT", "SUB:PRINTPREVIEW", "SUB:PRINTSETUP"}, "TOOLBAR:PRINT");
}

void AddChildButtons(CommandBarStore& store, int element, const QString& parentKey, QAction* parentButton)
{
    const qsizetype parts = SplitToCollection(parentKey).size();
    QMenu* bar = nullptr;
    for (QAction* button : store.buttons(element)) {
        const QString key = CommandBarStore::key(button);
        if (!key.startsWith(parentKey + ':') || SplitToCollection(key).size() != parts + 1)
            continue;
        if (!bar) {
            bar = store.addBar(parentKey, parentKey);
            if (parentButton)
                CommandBarStore::setBar(parentButton, bar);
        }
        bar->addAction(button);
        AddChildButtons(store, element, key, button);
    }
}

void BuildCommandBars(CommandBarStore& store)
{
    AddChildButtons(store, 0, "MENU", nullptr);
    AddChildButtons(store, 1, "TOOLBAR", nullptr);
}

void ShowBar(QMenuBar* menuBar, const CommandBarStore& store, const QString& barKey)
{
    const QMenu* bar = store.bar(barKey);
    if (!bar)
        return;
    menuBar->clear();
    for (QAction* button : bar->actions()) {
        button->setIcon(images::ilsIcons(CommandBarStore::image(button)));
        menuBar->addAction(button);
        if (button->menu())
            setMenuImages(button->menu());
    }
}

namespace {
// The toolbar button that runs no command of its own: its drop-down is all it offers.
bool menuOnly(const QAction* button) { return CommandBarStore::key(button) == "TOOLBAR:IMPORT"; }
} // namespace

void ShowBar(QToolBar* toolBar, const CommandBarStore& store, const QString& barKey)
{
    const QMenu* bar = store.bar(barKey);
    if (!bar)
        return;
    toolBar->clear();
    for (QAction* button : bar->actions()) {
        button->setIcon(images::iList(CommandBarStore::image(button)));
        toolBar->addAction(button);
        if (auto* tool = qobject_cast<QToolButton*>(toolBar->widgetForAction(button))) {
            tool->setObjectName("cmdBar_1_" + CommandBarStore::key(button));
            tool->setToolButtonStyle(CommandBarStore::captionOnBar(button) ? Qt::ToolButtonTextUnderIcon
                                                                            : Qt::ToolButtonIconOnly);
            // A button with a command of its own runs it from its main part and opens its drop-down from
            // the arrow; one without (Import/Export) opens the drop-down from all of it.
            if (button->menu())
                tool->setPopupMode(CommandBarStore::hasArrow(button) && !menuOnly(button) ? QToolButton::MenuButtonPopup
                                                                                          : QToolButton::InstantPopup);
        }
        if (button->menu())
            setMenuImages(button->menu());
    }
}

const QStringList& CookbookButtonKeys()
{
    static const QStringList keys{"TOOLBAR:ADDRECIPE", "TOOLBAR:EDITRECIPE", "TOOLBAR:DELETERECIPE",
                                  "TOOLBAR:SEARCH",    "TOOLBAR:EMAIL",      "TOOLBAR:IMPORT",
                                  "TOOLBAR:PRINT",     "TOOLBAR:MEALMAKER"};
    return keys;
}
