#include "editor/frmExpand.h"
#include "core/DialogKeys.h"
#include "editor/LongTextBox.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmExpand::frmExpand(QPlainTextEdit* target, QWidget* parent) : QDialog(parent), target_(target)
{
    setObjectName("frmExpand");
    setWindowTitle("Editing..");
    setModal(true);
    setSizeGripEnabled(true);

    rtbText = new QPlainTextEdit(this);
    rtbText->setObjectName("rtbText");
    rtbText->setAccessibleName("Instructions");
    SetBoxText(rtbText, target_->toPlainText());
    cmdOk = new QPushButton("OK", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(7, 7, 7, 10);
    layout->addWidget(rtbText, 1);
    layout->addLayout(buttons);
    resize(640, 480);

    connect(cmdOk, &QPushButton::clicked, this, &frmExpand::cmdOk_Click);
    EnterPressesFocusedButton(this);
}

void frmExpand::cmdOk_Click() { accept(); }

void frmExpand::Form_QueryUnload()
{
    if (target_)
        SetBoxText(target_, rtbText->toPlainText());
}

void frmExpand::done(int result)
{
    Form_QueryUnload();
    QDialog::done(result);
}
