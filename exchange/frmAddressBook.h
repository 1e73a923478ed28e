#pragma once
// The Contact Manager: the e-mail contacts of the reference database. As a plain editor it adds and
// deletes contacts; opened by the e-mail dialog in selecting mode it also lets the user tick several
// contacts, whose addresses OK hands back in sRecipients.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;

class frmAddressBook : public QDialog {
    Q_OBJECT
public:
    explicit frmAddressBook(QWidget* parent = nullptr);

    // Selecting mode: check boxes before the contacts, OK and Cancel in place of Close.
    bool bSelecting = false;
    // Set by OK: the addresses of the ticked contacts in list order, joined by ";".
    QString sRecipients;

    QTreeWidget* lstvPeeps;
    QLineEdit* txtName;
    QLineEdit* txtAddress;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdClear;
    QPushButton* cmdClose;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    // Refills the list from the CONTACTS table, sorted by name; ticks survive the refill.
    void ListContacts();

    void lstvPeeps_ItemClick();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    void cmdClose_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
};
