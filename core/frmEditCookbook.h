#pragma once
// The Edit Cookbook dialog: gives a new or an existing cookbook its name and description.
#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmEditCookbook : public QDialog {
    Q_OBJECT
public:
    explicit frmEditCookbook(QWidget* parent = nullptr);

    // False: create a new cookbook named after txtName; true: describe the cookbook file sFile.
    bool bEdit = false;
    // Full path of the cookbook file; set by the caller when editing, by OK when creating.
    QString sFile;

    QLineEdit* txtName;
    QPlainTextEdit* txtDescription;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    void cmdOk_Click();
    void cmdCancel_Click();
    void txtName_GotFocus();
    void txtDescription_GotFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refuseName(const QString& name);
    enum class Creation { Made, Failed, FailedAndShown };
    Creation createCookbookFile(const QString& name);
    void writeIdentifier(const QString& name, const QString& description, bool created);
};
