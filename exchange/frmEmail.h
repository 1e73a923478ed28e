#pragma once
// The e-mail dialog: sends the marked recipes, or the recipe on display when none is marked, as recipe
// pages inside the message body or as attachments (optionally one zip archive) to the chosen recipients.
// The pages are written a few at a time between the event loop's turns; packing and sending run on a
// worker thread, whose events come back queued. Cancel stops a send and leaves the dialog as it was.
#include "core/TypedWork.h"
#include "platform/AppError.h"
#include "platform/mail/SendMail.h"
#include "platform/ui/Ui.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QThread;
class QTimer;

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

    // True from Send until the attempt has ended (sent, failed or cancelled).
    bool isSending() const { return stage_ != Stage::Editing; }

    void done(int result) override;
    // Escape and the close box: with something typed they first ask whether to discard it.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Stage { Editing, Building, Sending };
    // What the worker packs and sends, taken from the dialog before it starts.
    struct Outgoing {
        bool asHtml = false;
        bool zip = false;
        bool marked = false;
        int count = 0;
        QString message;
    };
    enum class Packed { Ready, NoPage, ZipFailed };

    void FindMarked();
    void BuildSomePages();
    void StartWorker();
    void WorkerFinished();
    Packed Pack(const Outgoing& out);
    void AttachDisplayedPage();
    void AttachMarkedPages(int count);
    bool AttachArchive(int count);
    void BodyFromDisplayedPage(const QString& message);
    void BodyFromMarkedPages(int count, const QString& message);
    // The page with its images shown from the related parts they travel in, the images attached.
    QByteArray WithInlinePicture(QByteArray page, const QString& folder);
    void AttachOnce(const QStringList& files);
    void StopSending();
    void RemoveEmailFiles();
    void ShowEditing();
    void ShowSending();
    QString PagePath(int i) const;

    QWidget* fraEdit_;       // everything that is hidden while sending
    QString displayedPage_;  // this instance's page on display
    QString emailFolder_;    // the e-mail's own folder, removed after the send
    QStringList keys_;       // list keys of the marked recipes
    int built_ = 0;          // pages written so far
    std::optional<QByteArray> bareTemplate_; // the template itself: a page still equal to it was not written
    bool bMarked_ = false;
    Stage stage_ = Stage::Editing;
    QTimer* buildTimer_;
    QThread* worker_ = nullptr;
    std::optional<ui::BusyScope> busy_;
    QSize editingSize_;
    TypedWork typedWork_{this}; // the dialog as it opened, to tell whether Esc would lose anything
    // Set by the worker, read once it has finished.
    mail::SendMail::Result result_ = mail::SendMail::Result::Failed;
    Packed packed_ = Packed::Ready;
    std::optional<AppError> workerError_;
};
