#include "exchange/ExchangeDialogLayout.h"

#include "core/DialogParts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

QHBoxLayout* MakeFileRow(QDialog* dialog, QLineEdit*& txtFile, QPushButton*& cmdBrowse)
{
    txtFile = new QLineEdit(dialog);
    txtFile->setObjectName("txtFile");
    cmdBrowse = NamedButton(dialog, "cmdBrowse", "<<");
    cmdBrowse->setToolTip("Browse");
    auto* row = new QHBoxLayout;
    row->addWidget(txtFile, 1);
    row->addWidget(cmdBrowse);
    return row;
}
