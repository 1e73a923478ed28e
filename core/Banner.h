#pragma once
// The banner across the top of a dialog, with its header label `lblInfo`.
#include <QString>

class QLabel;
class QWidget;

// Makes the banner label (object name "lblInfo") with the header text; the caller places it on top.
QLabel* MakeBanner(QWidget* dialog, const QString& header);
