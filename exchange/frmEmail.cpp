#include "exchange/frmEmail.h"

#include "core/DialogParts.h"
#include "core/Helpers.h"
#include "core/MainWindow.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "core/Settings.h"
#include "exchange/EmailPages.h"
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
#include <QVBoxLayout>

namespace {

const QString kEmailFolder = QStringLiteral("\\temp\\email");

void Yield() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

int Twips(const QWidget* w, int twips) { return twips * w->logicalDpiY() / 1440; }

QString EmailFolder() { return paths::resolve(kEmailFolder); }

// The copy of the displayed page that is attached: "\recipe.html" beside the program, unless the user's
// template is that very file, which must survive the send; the copy then goes into the e-mail folder.
QString DisplayedPageCopy()
{
    const QString copy = paths::resolve("\\recipe.html");
    const QString templatePath = QFileInfo(paths::resolveAbsolute(basMain::sTemplatePath)).canonicalFilePath();
    if (!templatePath.isEmpty() && QFileInfo(copy).canonicalFilePath() == templatePath)
        return EmailFolder() + "/recipe.html";
    return copy;
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
    cmdRecipients->setAutoDefault(false);
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
    cmdSend->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setAutoDefault(false);

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
    fields->addWidget(new QLabel("Recipient(s):", fraEdit_), 0, 0);
    fields->addWidget(txtRecipients, 0, 1);
    fields->addWidget(cmdRecipients, 0, 2);
    fields->addWidget(new QLabel("Subject:", fraEdit_), 1, 0);
    fields->addWidget(txtSubject, 1, 1, 1, 2);
    fields->addWidget(new QLabel("Message:", fraEdit_), 2, 0, Qt::AlignTop);
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
    edit->addWidget(new QLabel("Send the recipe(s) in the following Format:", fraEdit_));
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

    for (QWidget* box : std::initializer_list<QWidget*>{txtRecipients, txtSubject, txtMsg})
        box->installEventFilter(this);
    connect(cmdSend, &QPushButton::clicked, this, &frmEmail::cmdSend_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEmail::cmdCancel_Click);
    connect(cmdRecipients, &QPushButton::clicked, this, &frmEmail::cmdRecipients_Click);
    for (int i = 0; i < optSendAs.size(); ++i)
        connect(optSendAs[i], &QRadioButton::clicked, this, [this, i] { optSendAs_Click(i); });
    SendMail.Progress = [this](int percent) { SendMail_Progress(percent); };
    SendMail.Status = [this](const QString& status) { SendMail_Status(status); };
    SendMail.SendSuccesful = [this] { SendMail_SendSuccesful(); };
    SendMail.SendFailed = [this](const QString& explanation) { SendMail_SendFailed(explanation); };

    Form_Load();
}

frmEmail::~frmEmail() = default;

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

void frmEmail::cmdCancel_Click() { reject(); }

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

// ---- the send

void frmEmail::ShowEditing()
{
    fraEmail->hide();
    fraEdit_->show();
    cmdSend->setEnabled(true);
    cmdCancel->setEnabled(true);
    cmdRecipients->show();
    if (editingSize_.isValid())
        resize(editingSize_);
}

void frmEmail::ShowSending()
{
    editingSize_ = size();
    fraEdit_->hide();
    fraEmail->show();
    layout()->activate();
    resize(width(), qMax(minimumSizeHint().height(), Twips(this, 1860)));
}

QString frmEmail::PagePath(int i) const { return paths::resolve(kEmailFolder + "\\recipe" + QString::number(i) + ".html"); }

void frmEmail::cmdSend_Click()
{
    cmdSend->setEnabled(false);
    cmdCancel->setEnabled(false);
    cmdRecipients->hide();
    if (txtRecipients->text().trimmed().isEmpty()) {
        ui::msgBox("Please enter a recipient", ui::Buttons::OK, ui::Icon::Information, "Email..");
        txtRecipients->setFocus();
        ShowEditing();
        return;
    }

    Outcome outcome = Outcome::Stopped;
    {
        ui::BusyScope busy;
        ui::WaitCursor wait;
        sending_ = true;
        ShowSending();
        lblStatus->setText("Checking selected..");
        Yield();
        basMain::RunHandler("frmEmail cmdSend", [&] { outcome = Send(); });
        sending_ = false;
        if (DisplayedPageCopy() == paths::resolve("\\recipe.html"))
            QFile::remove(paths::resolve("\\recipe.html"));
    }
    if (outcome == Outcome::NoPage) {
        ui::msgBox("No recipe is currently selected", ui::Buttons::OK, ui::Icon::Information, "Email Error");
        ShowEditing();
        return;
    }
    accept();
}

bool frmEmail::WriteMarkedPages()
{
    keys_.clear();
    bMarked_ = false;
    if (basDatabase::cnCookbook.isOpen()) {
        db::Query marked(basDatabase::cnCookbook, "SELECT [ID],MARK FROM RECIPES WHERE MARK=1 ORDER BY [ID]");
        while (marked.next()) {
            keys_ << "R" + marked.text("ID");
            bMarked_ = true;
        }
    }
    if (!bMarked_)
        return false;
    if (!FolderExists(EmailFolder()))
        QDir().mkpath(EmailFolder());
    const QString templatePath = paths::resolveAbsolute(basMain::sTemplatePath);
    const QByteArray templateBytes = FileExists(templatePath) ? text::readAllBytes(templatePath) : QByteArray();
    for (int i = 1; i <= keys_.size(); ++i) {
        basMain::mainWindow().DisplayRecipe(keys_[i - 1], true);
        // A page that was not written, or is still the bare template, stops the send: better no mail
        // than one with the wrong recipes.
        const QString page = PagePath(i);
        if (basMain::lEmailCount != i || !FileExists(page) || text::readAllBytes(page) == templateBytes)
            throw AppError(AppError::FileNotFound, "The page of recipe " + keys_[i - 1].mid(1) + " could not be written");
    }
    return true;
}

frmEmail::Outcome frmEmail::Send()
{
    const bool marked = WriteMarkedPages();
    const QString displayed = paths::resolve("\\temp\\recipe.html");
    if (!marked && !FileExists(displayed))
        return Outcome::NoPage;

    SendMail.Attachments.clear();
    SendMail.Message.clear();
    SendMail.Charset = "utf-8";
    SendMail.AsHTML = optSendAs[1]->isChecked();
    if (!SendMail.AsHTML) {
        Yield();
        if (!marked)
            AttachDisplayedPage();
        else if (chkZip->isChecked()) {
            if (!AttachArchive())
                return Outcome::Stopped;
        } else
            AttachMarkedPages();
        SendMail.Message = txtMsg->toPlainText().toUtf8();
    } else if (!marked)
        BodyFromDisplayedPage();
    else
        BodyFromMarkedPages();

    pBar->setValue(0);
    lblStatus->clear();
    SendMail.SMTPHost = ReadINI("Options", "SMTP Server");
    SendMail.From = ReadINI("Options", "Senders Email");
    SendMail.FromDisplayName = ReadINI("Options", "Senders Name");
    SendMail.Recipient = txtRecipients->text();
    SendMail.Subject = txtSubject->text().isEmpty() ? QStringLiteral("Recipes from Tovalquendry") : txtSubject->text();
    pBar->show();
    lblStatus->show();
    SendMail.Send();
    return Outcome::Sent;
}

// The page on display goes as a copy beside the program whose picture reference is the bare name.
void frmEmail::AttachDisplayedPage()
{
    const QString copy = DisplayedPageCopy();
    QDir().mkpath(QFileInfo(copy).path());
    text::writeAllBytes(copy, text::readAllBytes(paths::resolve("\\temp\\recipe.html")));
    SendMail.Attachments << copy;
    const QString picture = emailpages::StripPicturePath(copy, paths::resolve("\\temp"));
    if (!picture.isEmpty())
        SendMail.Attachments << picture;
}

// Each page after its picture: picture 1, page 1, picture 2, page 2...
void frmEmail::AttachMarkedPages()
{
    for (int i = 1; i <= keys_.size(); ++i) {
        const QString picture = emailpages::StripPicturePath(PagePath(i), EmailFolder());
        if (!picture.isEmpty())
            SendMail.Attachments << picture;
        SendMail.Attachments << PagePath(i);
    }
}

bool frmEmail::AttachArchive()
{
    for (int i = 1; i <= keys_.size(); ++i)
        emailpages::StripPicturePath(PagePath(i), EmailFolder());
    if (ZipFiles(EmailFolder()) != 0)
        return false;
    SendMail.Attachments = {paths::resolve(kEmailFolder + "\\recipes.zip")};
    return true;
}

int frmEmail::ZipFiles(const QString& folder)
{
    int result = -1;
    basMain::RunHandler("Subroutine ZipFiles", [&] {
        cZip zip;
        zip.setZipFileName(folder + "/recipes.zip");
        zip.setRecurseFolders(false);
        zip.AddFile(folder + "/*.*");
        result = int(zip.MakeZipFile());
        if (result != 0)
            ui::msgBox(zip.GetLastMessage());
    });
    return result;
}

// In a message body the page shows its picture from the related part the picture travels in.
void frmEmail::BodyFromDisplayedPage()
{
    QByteArray page = text::readAllBytes(paths::resolve("\\temp\\recipe.html"));
    SendMail.Charset = mail::SendMail::htmlCharset(page);
    const QString name = emailpages::GetPictureName(page);
    const QString picture = name.isEmpty() ? QString() : paths::resolve("\\temp\\" + name);
    if (!name.isEmpty() && FileExists(picture)) {
        page = emailpages::ReplaceReference(page, emailpages::PictureReference(page),
                                            "cid:" + mail::SendMail::contentId(picture));
        SendMail.Attachments << picture;
    }
    SendMail.Message = emailpages::MessageAsHtml(txtMsg->toPlainText()) + "\r\n\r\n" + page;
}

void frmEmail::BodyFromMarkedPages()
{
    QByteArrayList pages;
    for (int i = 1; i <= keys_.size(); ++i) {
        QByteArray page = text::readAllBytes(PagePath(i));
        if (i == 1)
            SendMail.Charset = mail::SendMail::htmlCharset(page);
        const QString name = emailpages::GetPictureName(page);
        const QString picture = name.isEmpty() ? QString() : paths::resolveAbsolute(EmailFolder() + '/' + name);
        if (!name.isEmpty() && FileExists(picture)) {
            page = emailpages::ReplaceReference(page, emailpages::PictureReference(page),
                                                "cid:" + mail::SendMail::contentId(picture));
            SendMail.Attachments << picture;
        }
        pages << page;
    }
    SendMail.Message = emailpages::MessageAsHtml(txtMsg->toPlainText()) + "\r\n\r\n" + pages.join("\r\n");
}

// ---- the sender's events

void frmEmail::SendMail_Progress(int percent)
{
    pBar->setValue(percent);
    Yield();
}

void frmEmail::SendMail_Status(const QString& status)
{
    lblStatus->setText(status);
    Yield();
}

void frmEmail::SendMail_SendSuccesful()
{
    ui::restoreDefaultCursor();
    ui::msgBox("Recipe succesfully sent", ui::Buttons::OK, ui::Icon::Information, "Success");
}

void frmEmail::SendMail_SendFailed(const QString& explanation)
{
    ui::restoreDefaultCursor();
    ui::msgBox(explanation, ui::Buttons::OK, ui::Icon::Exclamation, "Mail Send Error");
    cmdCancel->setEnabled(true);
}

// ---- unloading

void frmEmail::closeEvent(QCloseEvent* event)
{
    if (sending_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

// The dialog's pages, pictures and archive go with it; the folder stays.
void frmEmail::done(int result)
{
    if (sending_)
        return;
    const QDir folder(EmailFolder());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(folder.filePath(name));
    QDialog::done(result);
}
