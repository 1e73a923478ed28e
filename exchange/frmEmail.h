#pragma once
// The e-mail dialog: sends the marked recipes, or the recipe on display when none is marked, as recipe
// pages inside the message body or as attachments (optionally one zip archive) to the chosen recipients.
#include "platform/mail/SendMail.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

class frmEmail : public QDialog {
    Q_OBJECT
public:
    explicit frmEmail(QWidget* parent = nullptr);
    ~frmEmail() override;

    QLineEdit* txtRecipients;
    QPushButton* cmdRecipients;
    QLineEdit* txtSubject;
    QPlainTextEdit* txtMsg;
    QList<QRadioButton*> optSendAs; // 0 attachments, 1 message body
    QCheckBox* chkZip;
    QComboBox* cmbFormat;
    QPushButton* cmdSend;
    QPushButton* cmdCancel;
    QFrame* fraEmail;
    QProgressBar* pBar;
    QLabel* lblStatus;
    mail::SendMail SendMail;

    void Form_Load();
    void cmdSend_Click();
    void cmdCancel_Click();
    void cmdRecipients_Click();
    void optSendAs_Click(int index);
    void txtRecipients_GotFocus();
    void txtSubject_GotFocus();
    void txtMsg_GotFocus();

    void SendMail_Progress(int percent);
    void SendMail_Status(const QString& status);
    void SendMail_SendSuccesful();
    void SendMail_SendFailed(const QString& explanation);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Outcome { Sent, NoPage, Stopped };
    Outcome Send();
    bool WriteMarkedPages();
    void AttachDisplayedPage();
    void AttachMarkedPages();
    bool AttachArchive();
    void BodyFromDisplayedPage();
    void BodyFromMarkedPages();
    int ZipFiles(const QString& folder);
    void ShowEditing();
    void ShowSending();
    QString PagePath(int i) const;

    QWidget* fraEdit_;       // everything that is hidden while sending
    QStringList keys_;       // list keys of the marked recipes
    bool bMarked_ = false;
    bool sending_ = false;
    QSize editingSize_;
};
