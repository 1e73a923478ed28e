#pragma once
// Keyboard rules the program's windows share. Enter on a focused button presses that button; Enter in a
// box presses nothing unless the window chose a default button where Enter can do no harm (a search, a
// filter). A click into a box that selects its text on entry selects it as Tab does.
#include <QList>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QString;
class QWidget;

// Return or Enter, with no modifier but the keypad's.
bool IsPlainEnter(const QKeyEvent* key);

// Tab goes through the widgets in this order.
void ChainTabOrder(const QList<QWidget*>& order);

// Every push and tool button of the window: Enter (either key) on it while it has the focus presses it,
// and taking the focus no longer makes a button the dialog's default. Call once the buttons exist.
void EnterPressesFocusedButton(QWidget* window);

// A click that gives the box the focus leaves its whole text selected, as Tab does (the click alone
// would put the caret under the pointer); a drag still selects what it covers.
void SelectAllOnClick(QLineEdit* box);

// Makes the label name the box: its buddy, and for a list or the text part of a combo that takes typing
// its accessible name too (those do not read their buddy's text).
void TieLabel(QLabel* label, QWidget* box);

// A label that names the box: its buddy, so that the box has the label's text as its accessible name (and
// its Alt key, where the text marks one).
QLabel* LabelFor(QWidget* box, const QString& text, QWidget* parent);

// A group of option buttons is one stop on the Tab chain, at its checked button (the arrows move between
// the options and check them); with none checked, Tab stops at each.
void TabStopsAtCheckedOption(const QList<QRadioButton*>& group);
