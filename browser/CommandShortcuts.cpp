#include "browser/CommandShortcuts.h"

#include "browser/CommandBar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace {

struct Shortcut {
    const char* key;          // the button that carries the shortcut
    QKeySequence sequence;
    const char* alsoOn;       // a toolbar button for the same command, or nullptr
};

QList<Shortcut> shortcuts()
{
    return {
        {"MENU:FILE:OPEN", QKeySequence::Open, "TOOLBAR:OPENCOOKBOOK"},
        {"MENU:FILE:SAVE", QKeySequence::Save, nullptr},
        {"MENU:FILE:PRINT", QKeySequence::Print, "TOOLBAR:PRINT"},
        {"MENU:FILE:EXIT", QKeySequence::Quit, nullptr},
        {"MENU:HELP:CONTENTS", QKeySequence::HelpContents, nullptr},
        {"TOOLBAR:ADDRECIPE", QKeySequence::New, nullptr},
        {"TOOLBAR:EDITRECIPE", QKeySequence(Qt::CTRL | Qt::Key_E), nullptr},
        {"TOOLBAR:DELETERECIPE", QKeySequence(Qt::Key_Delete), nullptr},
        {"TOOLBAR:SEARCH", QKeySequence::Find, nullptr},
        {"TOOLBAR:EMAIL", QKeySequence(Qt::CTRL | Qt::Key_M), nullptr},
        {"SUB:IMPORT", QKeySequence(Qt::CTRL | Qt::Key_I), "TOOLBAR:IMPORT"},
        {"SUB:EXPORT", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), nullptr},
        {"TOOLBAR:WINE", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), nullptr},
        {"TOOLBAR:CONVERT", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), nullptr},
        {"TOOLBAR:MEALMAKER", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), nullptr},
    };
}

QString withShortcut(const QAction* button, const QKeySequence& sequence)
{
    return QString(button->text()).remove('&') + " (" + sequence.toString(QKeySequence::NativeText) + ")";
}

} // namespace

void SetCommandShortcuts(const CommandBarStore& store, QWidget* window)
{
    for (const Shortcut& s : shortcuts()) {
        QAction* button = store.button(s.key);
        if (!button)
            continue;
        button->setShortcut(s.sequence);
        button->setToolTip(withShortcut(button, s.sequence));
        if (s.alsoOn)
            if (QAction* toolbar = store.button(s.alsoOn))
                toolbar->setToolTip(withShortcut(toolbar, s.sequence));
    }
    // The window holds every button as well, so that a shortcut works while the toolbar is hidden; a
    // drop-down item follows its toolbar button (no import without a cookbook).
    for (QAction* button : store.allButtons()) {
        window->addAction(button);
        if (QMenu* dropDown = button->menu(); dropDown && CommandBarStore::element(button) == 1)
            for (QAction* item : dropDown->actions()) {
                item->setEnabled(button->isEnabled());
                QObject::connect(button, &QAction::enabledChanged, item, &QAction::setEnabled);
            }
    }
}
