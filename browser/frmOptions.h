#pragma once
// The Preferences dialog: the template, start-up, clipboard, sound and e-mail settings of the [Options]
// section. OK writes them, makes a new template current and shows the selected recipe through it.
#include <QDialog>
#include <QList>
#include <QMap>
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
    void loadCheck(QCheckBox* box, const QString& key, bool onUnlessFalse = false);

    QStackedWidget* pages_;
    // Every key and its value as the dialog shows it.
    QList<std::pair<QString, QString>> shownValues() const;

    // The keys that the load put into their controls, with the values shown then. OK writes only the keys
    // whose value the user changed, so that neither a load stopped by a failure nor a value another
    // window stored meanwhile is overwritten with what this dialog merely showed.
    QMap<QString, QString> loaded_;
};
