#include "exchange/frmEmail.h"

#include "core/DialogKeys.h"
#include "core/DialogParts.h"
#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/PageFolder.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "core/Settings.h"
#include "core/WholePage.h"
#include "exchange/EmailPages.h"
#include "exchange/basZip.h"
#include "exchange/cZip.h"
#include "exchange/frmAddressBook.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/LineFile.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// How long one turn of page writing may keep the event loop waiting.
constexpr int kBuildSliceMs = 10;

int Twips(const QWidget* w, int twips) { return twips * w->logicalDpiY() / 1440; }


// The page writer's working copy of the template beside the program goes after a send, unless the
// user's template is that very file.
void RemoveTemplateCopy()
{
    const QString copy = paths::resolve("\\recipe.html");
    const QString templatePath = QFileInfo(paths::resolveAbsolute(basMain::sTemplatePath)).canonicalFilePath();
    if (templatePath.isEmpty() || QFileInfo(copy).canonicalFilePath() != templatePath)
        QFile::remove(copy);
}

} // namespace

frmEmail::frmEmail(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmEmail");
    setWindowTitle("Email Recipe(s)");
    setModal(true);

    fraEdit_ = new QWidget(this);
    txtRecipients = new QLineEdit(fraEdit_);
    txtRecipients->setObjectName("txtRecipients");
    cmdRecipients = new QPushButton("Select Recipients", fraEdit_);
    cmdRecipients->setObjectName("cmdRecipients");
    txtSubject = new QLineEdit(fraEdit_);
    txtSubject->setObjectName("txtSubject");
    txtMsg = new QPlainTextEdit(fraEdit_);
    txtMsg->setObjectName("txtMsg");
    txtMsg->setTabChangesFocus(true);
    for (const char* caption : {"Send as an attachment(s)", "Send as the message body of the email"}) {
        auto* option = new QRadioButton(caption, fraEdit_);
        option->setObjectName(QString("optSendAs_%1").arg(optSendAs.size()));
        optSendAs << option;
    }
    optSendAs[1]->setChecked(true);
    chkZip = new QCheckBox("and Zip the recipe(s)", fraEdit_);
    chkZip->setObjectName("chkZip");
    chkZip->setEnabled(false);
    cmbFormat = new QComboBox(fraEdit_);
    cmbFormat->setObjectName("cmbFormat");
    cmdSend = new QPushButton("Send", this);
    cmdSend->setObjectName("cmdSend");
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    fraEmail = new QFrame(this);
    fraEmail->setObjectName("fraEmail");
    fraEmail->setFrameShape(QFrame::StyledPanel);
    pBar = new QProgressBar(fraEmail);
    pBar->setObjectName("pBar");
    pBar->setRange(0, 100);
    lblStatus = new QLabel(fraEmail);
    lblStatus->setObjectName("lblStatus");
    auto* progress = new QVBoxLayout(fraEmail);
    progress->addWidget(lblStatus);
    progress->addWidget(pBar);
    fraEmail->hide();

    auto* fields = new QGridLayout;
    fields->addWidget(LabelFor(txtRecipients, "Recipient(s):", fraEdit_), 0, 0);
    fields->addWidget(txtRecipients, 0, 1);
    fields->addWidget(cmdRecipients, 0, 2);
    fields->addWidget(LabelFor(txtSubject, "Subject:", fraEdit_), 1, 0);
    fields->addWidget(txtSubject, 1, 1, 1, 2);
    fields->addWidget(LabelFor(txtMsg, "Message:", fraEdit_), 2, 0, Qt::AlignTop);
    fields->addWidget(txtMsg, 2, 1, 1, 2);
    fields->setRowStretch(2, 1);
    auto* zipRow = new QHBoxLayout;
    zipRow->addWidget(optSendAs[0]);
    zipRow->addWidget(chkZip);
    zipRow->addStretch();
    auto* edit = new QVBoxLayout(fraEdit_);
    edit->setContentsMargins(0, 0, 0, 0);
    edit->addLayout(fields, 1);
    edit->addLayout(zipRow);
    edit->addWidget(optSendAs[1]);
    edit->addWidget(LabelFor(cmbFormat, "Send the recipe(s) in the following Format:", fraEdit_));
    edit->addWidget(cmbFormat);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSend);
    buttons->addWidget(cmdCancel);
    QVBoxLayout* body = BannerLayout(this, "Email Recipe(s)");
    body->addWidget(fraEdit_, 1);
    body->addWidget(fraEmail);
    body->addLayout(buttons);
    resize(520, 440);

    // Send goes only when the user presses it: no default button, Enter in a box sends nothing.
    EnterPressesFocusedButton(this);
    TabStopsAtCheckedOption(optSendAs);

    buildTimer_ = new QTimer(this);
    buildTimer_->setInterval(0);
    connect(buildTimer_, &QTimer::timeout, this, &frmEmail::BuildSomePages);

    for (QWidget* box : std::initializer_list<QWidget*>{txtRecipients, txtSubject, txtMsg})
        box->installEventFilter(this);
    connect(cmdSend, &QPushButton::clicked, this, &frmEmail::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEmail::cmdCancel_Click);
    connect(cmdRecipients, &QPushButton::clicked, this, &frmEmail::cmdRecipients_Click);
    // However the choice is made (mouse, keys, an accessibility action), the zip box follows it.
    for (int i = 0; i < optSendAs.size(); ++i)
        connect(optSendAs[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optSendAs_Click(i);
        });
    // The sender runs on the worker; its events come back to this thread queued.
    SendMail.Progress = [this](int percent) {
        QMetaObject::invokeMethod(this, [this, percent] { SendMail_Progress(percent); }, Qt::QueuedConnection);
    };
    SendMail.Status = [this](const QString& status) {
        QMetaObject::invokeMethod(this, [this, status] { SendMail_Status(status); }, Qt::QueuedConnection);
    };
    SendMail.SendSuccesful = [this] {
        QMetaObject::invokeMethod(this, [this] { SendMail_SendSuccesful(); }, Qt::QueuedConnection);
    };
    SendMail.SendFailed = [this](const QString& explanation) {
        QMetaObject::invokeMethod(this, [this, explanation] { SendMail_SendFailed(explanation); }, Qt::QueuedConnection);
    };

    Form_Load();
    typedWork_.leaveOut(fraEmail);
    typedWork_.keep();
}

frmEmail::~frmEmail()
{
    buildTimer_->stop();
    if (worker_) {
        SendMail.Cancel();
        worker_->wait();
        delete worker_;
        worker_ = nullptr;
        RemoveEmailFiles();
    }
}

void frmEmail::Form_Load()
{
    basMain::RunHandler("frmEmail load", [&] {
        cmbFormat->clear();
        cmbFormat->addItems({"Meal Master", "MasterCook", "Compu-Chef", "HTML"});
        basMain::lEmailCount = 0;
        cmbFormat->setCurrentIndex(3);
    });
}

bool frmEmail::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtRecipients)
            txtRecipients_GotFocus();
        else if (watched == txtSubject)
            txtSubject_GotFocus();
        else if (watched == txtMsg)
            txtMsg_GotFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void frmEmail::txtRecipients_GotFocus() { SelectAllText(txtRecipients); }
void frmEmail::txtSubject_GotFocus() { SelectAllText(txtSubject); }
void frmEmail::txtMsg_GotFocus() { SelectAllText(txtMsg); }

void frmEmail::optSendAs_Click(int index)
{
    optSendAs[index]->setChecked(true);
    chkZip->setEnabled(index == 0);
}

// While sending, Cancel stops the send and the dialog is back as it was; else it closes the dialog.
void frmEmail::cmdCancel_Click()
{
    if (isSending())
        StopSending();
    else
        QDialog::reject();
}

void frmEmail::cmdRecipients_Click()
{
    try {
        frmAddressBook book(this);
        book.bSelecting = true;
        book.ListContacts();
        book.resize(Twips(this, 4785), Twips(this, 5955));
        // The picked addresses replace what was typed; Cancel keeps it.
        if (book.exec() == QDialog::Accepted)
            txtRecipients->setText(book.sRecipients);
    } catch (...) {
        basMain::LogCurrentException("frmEmail cmdRecipients");
    }
}

// ---- the dialog's two faces

void frmEmail::ShowEditing()
{
    stage_ = Stage::Editing;
    busy_.reset();
    unsetCursor();
    fraEmail->hide();
    fraEdit_->show();
    cmdSend->setEnabled(true);
    cmdCancel->setEnabled(true);
    cmdRecipients->show();
    if (editingSize_.isValid())
        resize(editingSize_);
}

// The progress frame in place of the boxes, the busy pointer over this dialog only (the main window and
// the Cancel button keep theirs), Cancel ready to stop the send.
void frmEmail::ShowSending()
{
    busy_.emplace();
    editingSize_ = size();
    cmdSend->setEnabled(false);
    cmdRecipients->hide();
    fraEdit_->hide();
    fraEmail->show();
    pBar->setRange(0, 100);
    pBar->setValue(0);
    setCursor(Qt::BusyCursor);
    cmdCancel->setCursor(Qt::ArrowCursor);
    cmdCancel->setEnabled(true);
    cmdCancel->setFocus();
    layout()->activate();
    resize(width(), qMax(minimumSizeHint().height(), Twips(this, 1860)));
}

QString frmEmail::PagePath(int i) const { return emailFolder_ + "/recipe" + QString::number(i) + ".html"; }

// The e-mail's pages, pictures and archive go once the attempt has ended, whatever its outcome.
void frmEmail::RemoveEmailFiles()
{
    if (!emailFolder_.isEmpty())
        QDir(emailFolder_).removeRecursively();
}

// ---- the send: check, write the pages a few at a time, then pack and send on the worker

void frmEmail::cmdSend_Click()
{
    if (isSending())
        return;
    if (txtRecipients->text().trimmed().isEmpty()) {
        ui::msgBox("Please enter a recipient", ui::Buttons::OK, ui::Icon::Information, "Email..");
        txtRecipients->setFocus();
        return;
    }
    if (ReadINI("Options", "SMTP Server").trimmed().isEmpty()) {
        // Preferences opens over this dialog, so what was typed here stays for the send that follows.
        if (ui::msgBox("No mail server is set. Press OK to enter your mail (SMTP) server under Preferences, Email; "
                       "what you typed here is kept, and you can send once it is set.",
                       ui::Buttons::OKCancel, ui::Icon::Information, "Email..") == ui::Answer::OK)
            basMain::RunHandler("frmEmail cmdSend", [this] { basMain::mainWindow().ShowPreferences(1, this); });
        return;
    }
    // This instance's own page on display, and a folder of the e-mail's own for its pages.
    displayedPage_ = pagefolder::path() + "/recipe.html";
    emailFolder_ = pagefolder::emailPath();
    stage_ = Stage::Building;
    ShowSending();
    lblStatus->setText("Checking selected..");
    // The status is drawn before the marked recipes are looked up.
    QTimer::singleShot(0, this, [this] {
        if (stage_ == Stage::Building)
            FindMarked();
    });
}

void frmEmail::FindMarked()
{
    try {
        keys_.clear();
        built_ = 0;
        const QString templatePath = paths::resolveAbsolute(basMain::sTemplatePath);
        bareTemplate_ = FileExists(templatePath) ? std::optional(text::readAllBytes(templatePath)) : std::nullopt;
        bMarked_ = false;
        basMain::lEmailCount = 0;
        if (basDatabase::cnCookbook.isOpen()) {
            db::Query marked(basDatabase::cnCookbook, "SELECT [ID],MARK FROM RECIPES WHERE MARK=1 ORDER BY [ID]");
            while (marked.next()) {
                keys_ << "R" + marked.text("ID");
                bMarked_ = true;
            }
        }
        if (!bMarked_) {
            wholepage::complete(); // the page of a long recipe leaves whole
            if (!FileExists(displayedPage_)) {
                ShowEditing();
                ui::msgBox("No recipe is currently selected", ui::Buttons::OK, ui::Icon::Information, "Email Error");
                return;
            }
            StartWorker();
            return;
        }
        if (!QDir().mkpath(emailFolder_))
            throw AppError(AppError::PathFileAccess, "Path/File access error: " + emailFolder_);
        pBar->setRange(0, int(keys_.size()));
        pBar->setValue(0);
        buildTimer_->start();
    } catch (...) {
        RemoveEmailFiles();
        ShowEditing();
        basMain::LogCurrentException("frmEmail cmdSend");
    }
}

// Writes pages for a short while, shows how far it got, and lets the event loop run.
void frmEmail::BuildSomePages()
{
    try {
        QElapsedTimer slice;
        slice.start();
        while (built_ < keys_.size() && slice.elapsed() < kBuildSliceMs) {
            const int i = built_ + 1;
            basMain::mainWindow().DisplayRecipe(keys_[i - 1], true);
            // A page that was not written, or is still the bare template, stops the send: better no mail
            // than one with the wrong recipes.
            const QString page = PagePath(i);
            if (basMain::lEmailCount != i || !FileExists(page) || (bareTemplate_ && text::readAllBytes(page) == *bareTemplate_))
                throw AppError(AppError::FileNotFound, "The page of recipe " + keys_[i - 1].mid(1) + " could not be written");
            built_ = i;
        }
        pBar->setValue(built_);
        lblStatus->setText(QString("Writing page %1 of %2").arg(built_).arg(keys_.size()));
        if (built_ == keys_.size()) {
            buildTimer_->stop();
            StartWorker();
        }
    } catch (...) {
        buildTimer_->stop();
        RemoveEmailFiles();
        ShowEditing();
        basMain::LogCurrentException("frmEmail cmdSend");
    }
}

void frmEmail::StartWorker()
{
    stage_ = Stage::Sending;
    Outgoing out;
    out.asHtml = optSendAs[1]->isChecked();
    out.zip = chkZip->isChecked();
    out.marked = bMarked_;
    out.count = int(keys_.size());
    out.message = txtMsg->toPlainText();
    SendMail.Reset();
    SendMail.SMTPHost = ReadINI("Options", "SMTP Server");
    SendMail.From = ReadINI("Options", "Senders Email");
    SendMail.FromDisplayName = ReadINI("Options", "Senders Name");
    SendMail.Recipient = txtRecipients->text();
    SendMail.Subject = txtSubject->text().isEmpty() ? QStringLiteral("Recipes from Tovalquendry") : txtSubject->text();
    pBar->setRange(0, 100);
    pBar->setValue(0);
    lblStatus->setText(out.zip && out.marked ? "Packing the recipes.." : "Preparing the mail..");

    result_ = mail::SendMail::Result::Failed;
    packed_ = Packed::Ready;
    workerError_.reset();
    worker_ = QThread::create([this, out, emailFolder = emailFolder_] {
        try {
            packed_ = Pack(out);
            if (packed_ == Packed::Ready)
                result_ = SendMail.Send();
            else if (SendMail.isCancelled())
                result_ = mail::SendMail::Result::Cancelled;
        } catch (...) {
            workerError_ = basMain::CurrentError();
        }
        // The pages, pictures and archive go here too: removing hundreds of files takes a while.
        QDir(emailFolder).removeRecursively();
    });
    connect(worker_, &QThread::finished, this, &frmEmail::WorkerFinished);
    worker_->start();
}

// Back on this thread once the worker is done: the sender's own events have been shown by now.
void frmEmail::WorkerFinished()
{
    if (!worker_)
        return;
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    RemoveEmailFiles();
    RemoveTemplateCopy();
    const bool sent = !workerError_ && packed_ == Packed::Ready && result_ == mail::SendMail::Result::Sent;
    ShowEditing();
    if (workerError_) {
        basMain::LogError(workerError_->number, workerError_->description, "frmEmail cmdSend");
    } else if (packed_ == Packed::NoPage) {
        ui::msgBox("No recipe is currently selected", ui::Buttons::OK, ui::Icon::Information, "Email Error");
    } else if (packed_ == Packed::ZipFailed && !SendMail.isCancelled()) {
        ui::msgBox(basZip::sZipMessage);
    } else if (result_ == mail::SendMail::Result::Cancelled || SendMail.isCancelled()) {
        lblStatus->setText("Cancelled");
    }
    if (sent)
        accept();
}

void frmEmail::StopSending()
{
    lblStatus->setText("Cancelling..");
    cmdCancel->setEnabled(false);
    if (stage_ == Stage::Building) {
        buildTimer_->stop();
        RemoveEmailFiles();
        ShowEditing();
        return;
    }
    SendMail.Cancel(); // the worker ends within a fraction of a second; WorkerFinished restores the dialog
}

// ---- packing, on the worker: files only, no widgets

frmEmail::Packed frmEmail::Pack(const Outgoing& out)
{
    SendMail.Attachments.clear();
    SendMail.Message.clear();
    SendMail.Charset = "utf-8";
    SendMail.AsHTML = out.asHtml;
    if (!out.marked && !FileExists(displayedPage_))
        return Packed::NoPage;
    if (!out.asHtml) {
        if (!out.marked)
            AttachDisplayedPage();
        else if (out.zip) {
            if (!AttachArchive(out.count))
                return Packed::ZipFailed;
        } else
            AttachMarkedPages(out.count);
        SendMail.Message = out.message.toUtf8();
    } else if (!out.marked)
        BodyFromDisplayedPage(out.message);
    else
        BodyFromMarkedPages(out.count, out.message);
    return Packed::Ready;
}

// The page on display goes as a copy named "recipe.html" with its images beside it, named by their bare
// names.
void frmEmail::AttachDisplayedPage()
{
    QDir().mkpath(emailFolder_);
    const QString copy = emailFolder_ + "/recipe.html";
    text::writeAllBytes(copy, text::readAllBytes(displayedPage_));
    SendMail.Attachments << copy;
    AttachOnce(emailpages::CarryImagesOfFile(copy, QFileInfo(displayedPage_).path(), emailFolder_, emailpages::Carry::Beside));
}

// Each page after its images: picture 1, page 1, picture 2, page 2...
void frmEmail::AttachMarkedPages(int count)
{
    for (int i = 1; i <= count; ++i) {
        AttachOnce(emailpages::CarryImagesOfFile(PagePath(i), emailFolder_, emailFolder_, emailpages::Carry::Beside));
        SendMail.Attachments << PagePath(i);
    }
}

// Packing answers Cancel between the files and inside large ones; the bar follows the files packed.
bool frmEmail::AttachArchive(int count)
{
    for (int i = 1; i <= count; ++i) {
        if (SendMail.isCancelled())
            return false;
        emailpages::CarryImagesOfFile(PagePath(i), emailFolder_, emailFolder_, emailpages::Carry::Beside);
    }
    int shown = -1;
    zipfile::Watch watch;
    watch.cancelled = [this] { return SendMail.isCancelled(); };
    watch.progress = [this, &shown](double done) {
        const int percent = int(done * 100);
        if (percent != shown) {
            shown = percent;
            QMetaObject::invokeMethod(this, [this, percent] { SendMail_Progress(percent); }, Qt::QueuedConnection);
        }
    };
    cZip zip;
    zip.setZipFileName(emailFolder_ + "/recipes.zip");
    zip.setRecurseFolders(false);
    zip.AddFile(emailFolder_ + "/*.*");
    zip.setWatch(&watch);
    if (zip.MakeZipFile() != 0)
        return false;
    SendMail.Attachments = {emailFolder_ + "/recipes.zip"};
    return true;
}

// An image that several pages show goes once.
void frmEmail::AttachOnce(const QStringList& files)
{
    for (const QString& file : files)
        if (!SendMail.Attachments.contains(file))
            SendMail.Attachments << file;
}

// In a message body the page shows its images from the related parts they travel in.
QByteArray frmEmail::WithInlinePicture(QByteArray page, const QString& folder)
{
    QDir().mkpath(emailFolder_);
    AttachOnce(emailpages::CarryImages(page, folder, emailFolder_, emailpages::Carry::Related));
    return page;
}

void frmEmail::BodyFromDisplayedPage(const QString& message)
{
    const QByteArray page = text::readAllBytes(displayedPage_);
    SendMail.Charset = mail::SendMail::htmlCharset(page);
    SendMail.Message = emailpages::MessageAsHtml(message) + "\r\n\r\n"
                       + WithInlinePicture(page, QFileInfo(displayedPage_).path());
}

void frmEmail::BodyFromMarkedPages(int count, const QString& message)
{
    QByteArrayList pages;
    for (int i = 1; i <= count; ++i) {
        const QByteArray page = text::readAllBytes(PagePath(i));
        if (i == 1)
            SendMail.Charset = mail::SendMail::htmlCharset(page);
        pages << WithInlinePicture(page, emailFolder_);
    }
    SendMail.Message = emailpages::MessageAsHtml(message) + "\r\n\r\n" + pages.join("\r\n");
}

// ---- the sender's events

void frmEmail::SendMail_Progress(int percent) { pBar->setValue(percent); }

void frmEmail::SendMail_Status(const QString& status) { lblStatus->setText(status); }

void frmEmail::SendMail_SendSuccesful()
{
    ui::msgBox("Recipe succesfully sent", ui::Buttons::OK, ui::Icon::Information, "Success");
}

// The server's reason is shown and kept in the error log; the dialog keeps what the user typed.
void frmEmail::SendMail_SendFailed(const QString& explanation)
{
    basMain::AppendErrorLog(SendMail.LastErrorNumber, explanation, "frmEmail cmdSend");
    ui::msgBox(explanation, ui::Buttons::OK, ui::Icon::Exclamation, "Mail Send Error");
}

// ---- closing

void frmEmail::closeEvent(QCloseEvent* event)
{
    if (isSending()) {
        StopSending();
        event->ignore();
    } else
        QDialog::closeEvent(event);
}

void frmEmail::reject()
{
    if (isSending()
        || typedWork_.mayClose("The recipe(s) have not been sent.\nDo you want to close and lose what you entered?",
                               windowTitle()))
        QDialog::reject();
}

// Esc or the close box while sending stops the send; the dialog stays.
void frmEmail::done(int result)
{
    if (isSending()) {
        StopSending();
        return;
    }
    RemoveEmailFiles();
    QDialog::done(result);
}
