#pragma once
// Every command of the main window has a keyboard path: a standard shortcut on its command button, shown
// in the button's tooltip. A command that stands both in a menu and on the toolbar keeps the shortcut on
// its menu button (shown there), and the toolbar button's tooltip names it too.
class CommandBarStore;
class QWidget;

// Gives the buttons their shortcuts and tooltips, and makes the shortcuts work from anywhere in `window`,
// also while the toolbar is hidden. A drop-down's items are usable only while their toolbar button is.
void SetCommandShortcuts(const CommandBarStore& store, QWidget* window);
