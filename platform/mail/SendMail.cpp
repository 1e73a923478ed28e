#include "platform/mail/SendMail.h"

#include "platform/text/PageEncoding.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QUuid>
#include <curl/curl.h>
#include <memory>

namespace mail {
namespace {

void InitCurlOnce()
{
    static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)done;
}

// Header values never carry line breaks: a typed subject or a stored name cannot add headers.
QString OneLine(QString value)
{
    value.replace(QRegularExpression("[\\r\\n]+"), " ");
    return value;
}

bool IsPlainAscii(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// Header text: as it stands when it is plain ASCII, else RFC 2047 words of UTF-8 (each under 76 characters).
QByteArray EncodeWords(const QString& text)
{
    if (IsPlainAscii(text))
        return text.toLatin1();
    QByteArrayList words;
    QByteArray chunk;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray c = text.mid(i, n).toUtf8();
        if (chunk.size() + c.size() > 45) {
            words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
            chunk.clear();
        }
        chunk += c;
        i += n;
    }
    if (!chunk.isEmpty())
        words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
    return words.join(' ');
}

QByteArray Mailbox(const QString& name, const QString& address)
{
    const QByteArray angle = "<" + OneLine(address).trimmed().toUtf8() + ">";
    const QString displayName = OneLine(name).trimmed();
    if (displayName.isEmpty())
        return angle;
    if (IsPlainAscii(displayName)) {
        QString quoted = displayName;
        quoted.replace('\\', "\\\\").replace('"', "\\\"");
        return "\"" + quoted.toLatin1() + "\" " + angle;
    }
    return EncodeWords(displayName) + " " + angle;
}

// The bare addresses of a ";"-separated list ("Name <a@b>" gives "a@b").
QStringList Addresses(const QString& list)
{
    QStringList out;
    for (QString item : list.split(';', Qt::SkipEmptyParts)) {
        item = OneLine(item).trimmed();
        const qsizetype lt = item.lastIndexOf('<'), gt = item.lastIndexOf('>');
        if (lt >= 0 && gt > lt)
            item = item.mid(lt + 1, gt - lt - 1).trimmed();
        if (!item.isEmpty())
            out << item;
    }
    return out;
}

QString ServerUrl(const QString& host)
{
    const QString h = OneLine(host).trimmed();
    if (h.startsWith("smtp://", Qt::CaseInsensitive) || h.startsWith("smtps://", Qt::CaseInsensitive))
        return h;
    return "smtp://" + h;
}

struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void Append(Slist& list, const QByteArray& line) { list.reset(curl_slist_append(list.release(), line.constData())); }

struct Transfer {
    const SendMail* mail;
    int lastPercent = -1;
};

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t ultotal, curl_off_t ulnow)
{
    auto* t = static_cast<Transfer*>(user);
    if (ultotal <= 0 || !t->mail->Progress)
        return 0;
    const int percent = int(ulnow * 100 / ultotal);
    if (percent != t->lastPercent) {
        t->lastPercent = percent;
        t->mail->Progress(percent);
    }
    return 0;
}

QByteArray ContentType(const QString& path)
{
    const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    if (type == "text/html") {
        QFile f(path);
        const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        return "text/html; charset=" + SendMail::htmlCharset(bytes);
    }
    return type.toLatin1();
}

// One file as a part: an attachment, or in an HTML mail a related part that the page shows.
void AddFilePart(curl_mime* mime, const QString& path, bool related)
{
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_filedata(part, QFile::encodeName(path).constData());
    const QByteArray name = QFileInfo(path).fileName().toUtf8();
    curl_mime_filename(part, name.constData());
    curl_mime_type(part, ContentType(path).constData());
    curl_mime_encoder(part, "base64");
    if (related) {
        curl_slist* headers = curl_slist_append(nullptr, ("Content-ID: <" + SendMail::contentId(path) + ">").constData());
        headers = curl_slist_append(headers, "Content-Disposition: inline; filename=\"" + name + "\"");
        curl_mime_headers(part, headers, 1);
    }
}

} // namespace

QByteArray SendMail::contentId(const QString& path)
{
    return QFileInfo(path).fileName().toUtf8().toPercentEncoding("@.-_") + "@tovalquendry";
}

QByteArray SendMail::htmlCharset(const QByteArray& page)
{
    return text::PageCharset(page);
}

void SendMail::Send()
{
    auto raiseStatus = [this](const QString& s) { if (Status) Status(s); };
    auto fail = [this](const QString& why) { if (SendFailed) SendFailed(why); };

    InitCurlOnce();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        fail("The mail connection could not be set up.");
        return;
    }
    CURL* h = curl.get();
    char errorBuffer[CURL_ERROR_SIZE] = {};

    const QStringList to = Addresses(Recipient);
    if (to.isEmpty()) {
        fail("No recipient address was given.");
        return;
    }
    Slist rcpt;
    for (const QString& a : to)
        Append(rcpt, "<" + a.toUtf8() + ">");

    Slist headers;
    Append(headers, "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
    Append(headers, "From: " + Mailbox(FromDisplayName, From));
    QByteArrayList toHeader;
    for (const QString& a : to)
        toHeader << "<" + a.toUtf8() + ">";
    Append(headers, "To: " + toHeader.join(", "));
    Append(headers, "Subject: " + EncodeWords(OneLine(Subject)));
    Append(headers, "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@tovalquendry>");

    // The files that exist; one that has gone missing is left out rather than fail the whole mail.
    QStringList files;
    for (const QString& f : Attachments)
        if (QFileInfo(f).isFile())
            files << f;

    std::unique_ptr<curl_mime, void (*)(curl_mime*)> mime(curl_mime_init(h), curl_mime_free);
    const QByteArray bodyType = (AsHTML ? "text/html; charset=" : "text/plain; charset=") + Charset;
    if (AsHTML && !files.isEmpty()) {
        curl_mime* related = curl_mime_init(h);
        curl_mimepart* body = curl_mime_addpart(related);
        curl_mime_data(body, Message.constData(), size_t(Message.size()));
        curl_mime_type(body, bodyType.constData());
        curl_mime_encoder(body, "base64");
        for (const QString& f : files)
            AddFilePart(related, f, true);
        curl_mimepart* holder = curl_mime_addpart(mime.get());
        curl_mime_subparts(holder, related);
        curl_mime_type(holder, "multipart/related");
    } else {
        curl_mimepart* body = curl_mime_addpart(mime.get());
        curl_mime_data(body, Message.constData(), size_t(Message.size()));
        curl_mime_type(body, bodyType.constData());
        curl_mime_encoder(body, AsHTML ? "base64" : "quoted-printable");
        for (const QString& f : files)
            AddFilePart(mime.get(), f, false);
    }

    const QByteArray url = ServerUrl(SMTPHost).toUtf8();
    const QByteArray from = "<" + OneLine(From).trimmed().toUtf8() + ">";
    Transfer transfer{this};
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, rcpt.get());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_MIMEPOST, mime.get());
    curl_easy_setopt(h, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, long(timeoutSeconds));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(timeoutSeconds));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long(timeoutSeconds));
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);

    raiseStatus("Connecting to " + OneLine(SMTPHost).trimmed());
    const CURLcode rc = curl_easy_perform(h);
    if (rc != CURLE_OK) {
        QString why = QString::fromUtf8(curl_easy_strerror(rc));
        if (errorBuffer[0])
            why += ": " + QString::fromUtf8(errorBuffer);
        raiseStatus("Failed");
        fail(why);
        return;
    }
    if (Progress && transfer.lastPercent != 100)
        Progress(100);
    raiseStatus("Message sent");
    if (SendSuccesful)
        SendSuccesful();
}

} // namespace mail
