#pragma once
// The Preferences dialog: the template, start-up, clipboard, sound and e-mail settings of the [Options]
// section. OK writes them, makes a new template current and shows the selected recipe through it.
#include <QDialog>
#include <QList>
#include <QStringList>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);

    QList<QPushButton*> cmdAction;   // page buttons: 0 General, 1 Email, 2 Clipboard
    QList<QFrame*> fraOptions;       // the pages, same indexes
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // General
    QLineEdit* txtDisplayTemplate;
    QCheckBox* chkOpenLast;
    QCheckBox* chkDisplaySplash;
    QCheckBox* chkClearMarked;
    // Email
    QLineEdit* txtSMTP;
    QLineEdit* txtUserName;
    QLineEdit* txtEmailAddress;
    QPushButton* cmdContacts;
    // Clipboard
    QCheckBox* chkImportDirect;
    QCheckBox* chkImportPlay;
    QLineEdit* txtImportSound;
    QCheckBox* chkPlayNotRec;
    QLineEdit* txtImportNotSound;
    // Browse buttons: 0 recognised sound, 1 not-recognised sound, 2 template
    QList<QPushButton*> cmdBrowse;

    void Form_Load();
    void cmdAction_Click(int index);
    void cmdBrowse_Click(int index);
    void cmdContacts_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

protected:
    // Opens the address book modally.
    virtual void openAddressBook();

private:
    void ShowPage(int index);
    void loadText(QLineEdit* box, const QString& key);
    void loadCheck(QCheckBox* box, const QString& key);

    QStackedWidget* pages_;
    // The keys that the load put into their controls; OK writes only these, so that a load stopped by a
    // failure never overwrites a stored value the dialog did not show.
    QStringList loaded_;
};
