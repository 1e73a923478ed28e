#include "browser/frmView.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/RecipeListFiller.h"
#include "core/basMain.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmView::frmView(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmView");
    setWindowTitle("Filter..");
    setModal(true);

    auto* lblInfo = new QLabel("Filter by:", this);
    lblInfo->setObjectName("lblInfo");
    cmbSort = new QComboBox(this);
    cmbSort->setObjectName("cmbSort");
    cmbSort->setEditable(true);
    cmbSort->setInsertPolicy(QComboBox::NoInsert);
    TieLabel(lblInfo, cmbSort);
    cmdSort = NamedButton(this, "cmdSort", "Sort");
    cmdSort->setDefault(true);
    cmdClose = NamedButton(this, "cmdClose", "Close");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    layout->addWidget(cmbSort);
    layout->addStretch();
    layout->addLayout(ButtonRow({cmdSort, cmdClose}));
    resize(260, 110);

    connect(cmdSort, &QPushButton::clicked, this, &frmView::cmdSort_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmView::cmdClose_Click);
    EnterPressesFocusedButton(this);
}

void frmView::Form_Load()
{
    cmbSort->clear();
    cmbSort->addItem("Display all");
    for (char letter = 'a'; letter <= 'z'; ++letter)
        cmbSort->addItem(QString(QChar(letter)));
    cmbSort->setCurrentIndex(-1);
    cmbSort->setEditText("");
}

void frmView::cmdSort_Click()
{
    const QList<QWidget*> controls{cmbSort, cmdSort, cmdClose};
    for (QWidget* control : controls)
        control->setEnabled(false);
    basMain::RunHandler("frmView cmdSort", [this] { FilterRecipeList(cmbSort->currentText()); });
    for (QWidget* control : controls)
        control->setEnabled(true);
}

void frmView::cmdClose_Click() { reject(); }
