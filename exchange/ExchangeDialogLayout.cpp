#include "exchange/ExchangeDialogLayout.h"

#include "core/Banner.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QHBoxLayout* MakeFileRow(QDialog* dialog, QLineEdit*& txtFile, QPushButton*& cmdBrowse)
{
    txtFile = new QLineEdit(dialog);
    txtFile->setObjectName("txtFile");
    cmdBrowse = new QPushButton("<<", dialog);
    cmdBrowse->setObjectName("cmdBrowse");
    cmdBrowse->setToolTip("Browse");
    auto* row = new QHBoxLayout;
    row->addWidget(txtFile, 1);
    row->addWidget(cmdBrowse);
    return row;
}

void PlaceUnderBanner(QDialog* dialog, const QString& header, QLayout* form)
{
    form->setContentsMargins(12, 10, 12, 12);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeBanner(dialog, header));
    layout->addLayout(form, 1);
}
