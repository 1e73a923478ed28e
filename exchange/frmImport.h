#pragma once
// The import dialog: the user picks one or several recipe files; each file's format is recognised by its
// marker line and the file is read into the open cookbook while the dialog counts the recipes found,
// imported and skipped. Cancel stops a run; Close rebuilds the main window's browse tree.
#include <QDialog>
#include <QStringList>

class cImport;
class QLabel;
class QLineEdit;
class QPushButton;

class frmImport : public QDialog {
    Q_OBJECT
public:
    explicit frmImport(QWidget* parent = nullptr);
    ~frmImport() override;

    cImport* Import = nullptr;  // the reader, created at load and released with the dialog
    QString m_Format;           // format of the file in hand
    bool m_MultiSelect = false; // the last browse chose several files
    QString m_Folder;           // their folder
    QStringList m_Files;        // their names, in the file dialog's order
    int m_FileIndex = 0;        // the file in hand during a several-file run

    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QPushButton* cmdImport;
    QPushButton* cmdCancel;
    QLabel* lblFound;
    QLabel* lblImported;
    QLabel* lblSkipped;
    QLabel* lblMulti;
    QLabel* lblCheck; // how far the check of an XML file has read, before its rows are counted

    void Form_Load();
    void cmdBrowse_Click();
    void cmdImport_Click();
    void cmdCancel_Click();
    void txtFile_GotFocus();
    void txtFile_Edited();
    void Import_Processing(qint32 found, qint32 imported, qint32 skipped);
    void Import_Checking(qint64 bytesRead, qint64 fileSize);

    // The format of the file by its first marker line: "MasterCook", "MealMaster", "CompuChef", "XML",
    // "Unknown" when it holds none, "" when it cannot be read (the error is logged).
    QString CheckFormatRequired(const QString& path);

    bool importing() const { return importing_; }

public Q_SLOTS:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void importFile(const QString& path);
    void showCounters(qint32 found, qint32 imported, qint32 skipped);
    // Whether the labels are due for another update (a few times a second while a file is read).
    bool counterDue() const;
    void closeDialog();

    bool importing_ = false;
    qint64 lastCounterUpdate_ = -1;
};
