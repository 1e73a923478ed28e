#pragma once
// The banner across the top of a dialog, with its header label `lblInfo`.
#include <QString>
#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

// Makes the banner label (object name "lblInfo") with the header text; the caller places it on top.
QLabel* MakeBanner(QWidget* dialog, const QString& header);

// Lays the dialog out as the banner over a body with the usual margins; returns the body's layout.
QVBoxLayout* MakeBannerLayout(QWidget* dialog, const QString& header);

// A row of push buttons at the right.
QHBoxLayout* MakeButtonRow(std::initializer_list<QPushButton*> buttons);
