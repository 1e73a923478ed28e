#pragma once
// The export dialog: writes the marked recipes of the open cookbook to one file in a chosen exchange
// format, and can clear all marks afterwards.
#include <QDialog>

class cExport;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmExport : public QDialog {
    Q_OBJECT
public:
    explicit frmExport(QWidget* parent = nullptr);

    cExport* Exporter = nullptr; // the writer, created at load and released with the dialog

    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QComboBox* cmbFormat;
    QCheckBox* chkClear;
    QLabel* lblExported;
    QPushButton* cmdExport;
    QPushButton* cmdCancel;

    void Form_Load();
    void cmdBrowse_Click();
    void cmdCancel_Click();
    void cmdExport_Click();
    void cExport_Exported(qint32 count);

    bool exporting() const { return exporting_; }

public Q_SLOTS:
    void reject() override;

private:
    // Runs the writer of the chosen format; false when it failed (the failure has been reported).
    bool writeFile(const QString& format, const QString& path);

    bool exporting_ = false;
};
