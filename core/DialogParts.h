#pragma once
// Pieces that the program's dialogs are made of: named push buttons and the banner-topped layout.
#include <QString>
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

// A row of push buttons at the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);
