#include "exchange/frmExport.h"

#include "core/DialogKeys.h"
#include "core/ProtectedFiles.h"
#include "core/DialogParts.h"
#include "core/Helpers.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/ExchangeDialogLayout.h"
#include "exchange/cExport.h"
#include "platform/ui/Ui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

frmExport::frmExport(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmExport");
    setWindowTitle("Export Recipes");
    setModal(true);

    QHBoxLayout* fileRow = MakeFileRow(this, txtFile, cmdBrowse);
    cmbFormat = new QComboBox(this);
    cmbFormat->setObjectName("cmbFormat");
    cmbFormat->setEditable(false);
    chkClear = new QCheckBox("Clear marked recipes upon export", this);
    chkClear->setObjectName("chkClear");
    lblExported = new QLabel(this);
    lblExported->setObjectName("lblExported");
    cmdExport = NamedButton(this, "cmdExport", "Export");
    cmdCancel = NamedButton(this, "cmdCancel", "Close");

    auto* form = new QGridLayout;
    form->setColumnStretch(1, 1);
    form->addWidget(LabelFor(txtFile, "Export to file:", this), 0, 0);
    form->addLayout(fileRow, 0, 1);
    form->addWidget(LabelFor(cmbFormat, "Export Format:", this), 1, 0);
    form->addWidget(cmbFormat, 1, 1);
    form->addWidget(chkClear, 2, 1);
    form->addWidget(new QLabel("Recipes Exported:", this), 3, 0);
    form->addWidget(lblExported, 3, 1);
    form->setRowStretch(4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdCancel);
    form->addLayout(buttons, 5, 0, 1, 2);
    BannerLayout(this, "Export")->addLayout(form, 1);
    resize(480, 250);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmExport::cmdBrowse_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmExport::cmdExport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmExport::cmdCancel_Click);
    Form_Load();
    EnterPressesFocusedButton(this);
}

void frmExport::Form_Load()
{
    Exporter = new cExport(this);
    connect(Exporter, &cExport::Exported, this, &frmExport::cExport_Exported);
    cmbFormat->addItems({"Tovalquendry", "MealMaster", "Compu-Chef", "MasterCook"});
    cmbFormat->setCurrentIndex(0);
}

void frmExport::cmdBrowse_Click()
{
    try {
        // Export asks before it overwrites, so the file dialog does not ask as well.
        const QString chosen = ui::getSaveFileName("Select the file you wish to export to", {}, kExchangeFileFilter,
                                                   kAllFilesFilter, false);
        if (!chosen.isEmpty())
            txtFile->setText(chosen);
    } catch (...) {
    }
}

void frmExport::cmdCancel_Click()
{
    if (!exporting_)
        accept();
}

// Esc and the close box: ignored while an export is written.
void frmExport::reject()
{
    if (!exporting_)
        QDialog::reject();
}

void frmExport::cExport_Exported(qint32 count) { lblExported->setText(QString::number(count)); }

bool frmExport::writeFile(const QString& format, const QString& path)
{
    // The text writers report their own failures and return; the XML writer raises them.
    const qint64 errorsBefore = basMain::errorsLogged();
    try {
        if (format == "MealMaster")
            Exporter->ExportMealMaster(path);
        else if (format == "Compu-Chef")
            Exporter->ExportCompuChef(path);
        else if (format == "MasterCook")
            Exporter->ExportMasterCook(path);
        else if (format == "Tovalquendry")
            Exporter->ExportXML(path);
    } catch (...) {
        basMain::LogCurrentException("frmExport cmdExport");
        return false;
    }
    return basMain::errorsLogged() == errorsBefore;
}

void frmExport::cmdExport_Click()
{
    basMain::RunHandler("frmExport cmdExport", [&] {
        const QString path = txtFile->text();
        if (path.isEmpty()) {
            ui::msgBox("Please enter a file to export to", ui::Buttons::OK, ui::Icon::Information, "Export");
            txtFile->setFocus();
            return;
        }
        if (cmbFormat->currentText().isEmpty()) {
            ui::msgBox("Please select an output format", ui::Buttons::OK, ui::Icon::Information, "Export");
            cmbFormat->setFocus();
            return;
        }
        if (const QString refused = ProtectedFileMessage(path); !refused.isEmpty()) {
            ui::msgBox(refused, ui::Buttons::OK, ui::Icon::Exclamation, "Export");
            txtFile->setFocus();
            return;
        }
        if (FileExists(path)
            && ui::msgBox("The selected file already exists, do you wish to overwrite it?", ui::Buttons::YesNo,
                          ui::Icon::Question, ui::programTitle(), ui::DefaultButton::Second) == ui::Answer::No)
            return;

        {
            ui::BusyScope busy;
            ui::WaitCursor wait;
            // The writers let the window repaint: nothing else may start meanwhile.
            exporting_ = true;
            cmdCancel->setEnabled(false);
            cmdExport->setEnabled(false);
            const auto done = qScopeGuard([this] {
                exporting_ = false;
                cmdCancel->setEnabled(true);
                cmdExport->setEnabled(true);
            });
            lblExported->setText("0");
            if (!writeFile(cmbFormat->currentText(), path)) {
                // Reported once; a failed export keeps none of what it wrote, so none is counted as
                // exported, and the marks stay for another try.
                lblExported->setText("0");
                return;
            }
            if (chkClear->isChecked())
                basDatabase::ClearAllMarks();
        }
        ui::msgBox(lblExported->text() + " recipes exported to " + path, ui::Buttons::OK, ui::Icon::Information,
                   "Export");
    });
}
