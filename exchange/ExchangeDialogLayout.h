#pragma once
// What the import and export dialogs share: the file box with its "<<" browse button and the file
// dialogs' filter.
#include <QString>

class QDialog;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

// Makes `txtFile` and `cmdBrowse` and returns the row that holds them.
QHBoxLayout* MakeFileRow(QDialog* dialog, QLineEdit*& txtFile, QPushButton*& cmdBrowse);

// Meal-Master files, MasterCook files and every file; the dialogs open on the last.
inline const QString kExchangeFileFilter =
    QStringLiteral("Meal Master Files (*.mmf);;Master Cook Files (*.mxp);;All Files (*)");
inline const QString kAllFilesFilter = QStringLiteral("All Files (*)");
