#pragma once
// Pieces that the program's dialogs are made of: named push buttons and the banner-topped layout.
#include <QString>
#include <QList>
#include <QStringList>
#include <functional>
#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;
class QWidget;

// A push button with its object name set to the control's name.
QPushButton* NamedButton(QWidget* parent, const QString& name, const QString& caption);

// Gives the dialog the banner (header label `lblInfo`) across its top and returns the layout below it,
// with the dialogs' usual margins, for the dialog's own controls.
QVBoxLayout* BannerLayout(QWidget* dialog, const QString& header);

// The style's spacing between controls. A layout nested in one without spacing (the banner's) inherits
// none: such a layout sets this.
int StyleSpacing(const QWidget* widget);

// The row of buttons (`cmdAction_0`, …) that switch a dialog's pages, calling `show` with the page's index.
// Only one is down at a time: the dialog's ShowPage checks the button of the page in view, so that the row
// shows which page is open.
QHBoxLayout* PageButtonRow(QWidget* dialog, const QStringList& captions, QList<QPushButton*>& buttons,
                           const std::function<void(int)>& show);

// A row of push buttons at the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);
