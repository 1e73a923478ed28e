#include "platform/mail/SendMail.h"

#include "platform/mail/MailHeaders.h"
#include "platform/text/PageEncoding.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QUrl>
#include <QUuid>
#include <curl/curl.h>
#include <sys/socket.h>
#include <algorithm>
#include <memory>

namespace mail {
namespace {

void InitCurlOnce()
{
    static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)done;
}

using headers::OneLine;

// The bare addresses of a ";"-separated list ("Name <a@b>" gives "a@b"), as typed apart from that.
QStringList Addresses(const QString& list)
{
    QStringList out;
    for (QString item : list.split(';', Qt::SkipEmptyParts)) {
        item = item.trimmed();
        const qsizetype lt = item.lastIndexOf('<'), gt = item.lastIndexOf('>');
        if (lt >= 0 && gt > lt && item.mid(gt + 1).trimmed().isEmpty())
            item = item.mid(lt + 1, gt - lt - 1).trimmed();
        if (!item.isEmpty())
            out << item;
    }
    return out;
}

// An address the server can be given: one "@" between a local part and a domain, and nothing in it
// that would end or break the SMTP command (blanks, line breaks, angle brackets, quotes, commas).
bool IsWellFormed(const QString& address)
{
    static const QRegularExpression form(R"(^[^\s<>()\[\],;:"@\\]+@[^\s<>()\[\],;:"@\\.]+(\.[^\s<>()\[\],;:"@\\.]+)*$)");
    return form.match(address).hasMatch();
}

// Text lines of a plain-text part end in CR LF, whatever the box gave (LF or CR alone).
QByteArray CrLfLines(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else if (c == '\n')
            out += "\r\n";
        else
            out += c;
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

// "12 of 240 MB" (or kB for small mails).
QString SentOfTotal(curl_off_t now, curl_off_t total)
{
    const bool mega = total >= 1000 * 1000;
    const double unit = mega ? 1000.0 * 1000.0 : 1000.0;
    const int decimals = mega && total < 10 * 1000 * 1000 ? 1 : 0;
    return QString("%1 of %2 %3")
        .arg(double(now) / unit, 0, 'f', decimals)
        .arg(double(total) / unit, 0, 'f', decimals)
        .arg(mega ? "MB" : "kB");
}

struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void Append(Slist& list, const QByteArray& line) { list.reset(curl_slist_append(list.release(), line.constData())); }

struct Transfer {
    const SendMail* mail = nullptr;
    const std::atomic<bool>* cancelled = nullptr;
    int lastPercent = -1;
    QString lastStatus;
    curl_off_t expectedSize = 0; // the mail's size as sent, close to the byte
    QByteArray lastCommand;   // the last command sent ("RCPT TO:<a@b>")
    QByteArrayList reply;     // the lines of the server's last reply
    bool replyDone = true;
    QByteArrayList refusal;   // the first reply that refused something, and the command it answered
    QByteArray refusedCommand;
    bool answered = false;    // the server said anything at all
    curl_socket_t socket = CURL_SOCKET_BAD; // the connection, so that Cancel can cut it
};

// The bar and the status follow the bytes sent: "Sending: 12 of 240 MB".
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t ultotal, curl_off_t ulnow)
{
    auto* t = static_cast<Transfer*>(user);
    if (*t->cancelled)
        return 1; // aborts the transfer
    // Where libcurl does not know the size of the mail, the size it will have is close enough.
    const curl_off_t total = std::max({ultotal, t->expectedSize, ulnow});
    if (total <= 0 || ulnow <= 0)
        return 0;
    const int percent = int(ulnow * 100 / total);
    if (percent != t->lastPercent && t->mail->Progress) {
        t->lastPercent = percent;
        t->mail->Progress(percent);
    }
    const QString status = "Sending: " + SentOfTotal(ulnow, total);
    if (status != t->lastStatus && t->mail->Status) {
        t->lastStatus = status;
        t->mail->Status(status);
    }
    return 0;
}

int OnSocket(void* user, curl_socket_t socket, curlsocktype)
{
    static_cast<Transfer*>(user)->socket = socket;
    return CURL_SOCKOPT_OK;
}

// Keeps the conversation's last command and the server's last reply, so that a refusal can be told in
// the server's own words.
int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    if (type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT)
        return 0;
    for (QByteArray line : QByteArray(data, qsizetype(size)).split('\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (type == CURLINFO_HEADER_OUT) {
            t->lastCommand = line;
            continue;
        }
        t->answered = true;
        if (t->replyDone)
            t->reply.clear();
        t->reply << line;
        // "250-..." goes on, "250 ..." ends the reply
        t->replyDone = !(line.size() > 3 && line[3] == '-');
        if (t->replyDone && line.left(3).toInt() >= 400 && t->refusal.isEmpty()) {
            t->refusal = t->reply;
            t->refusedCommand = t->lastCommand;
        }
    }
    return 0;
}

// The server's last reply as one line: "550 5.1.1 <x@example.org>: Recipient address rejected".
QString ReplyText(const QByteArrayList& lines)
{
    QStringList parts;
    for (const QByteArray& line : lines) {
        QString text = OneLine(QString::fromUtf8(line)).trimmed();
        if (!parts.isEmpty() && text.size() > 3)
            text = text.mid(4); // the code once is enough
        else if (text.size() > 3 && text[3] == '-')
            text[3] = ' ';
        parts << text;
    }
    return parts.join(' ');
}

// "host:port" of the server as the user will recognise it.
QString ServerName(const QString& url)
{
    const QUrl u(url);
    const int standard = u.scheme().compare("smtps", Qt::CaseInsensitive) == 0 ? 465 : 25;
    return u.host() + ":" + QString::number(u.port(standard));
}

// One plain sentence for a failed attempt.
QString Explain(CURLcode rc, const Transfer& t, const QString& url, const char* errorBuffer)
{
    const QString server = ServerName(url);
    if (!t.refusal.isEmpty()) {
        const QString said = ReplyText(t.refusal);
        const QByteArray command = t.refusedCommand.toUpper();
        auto argument = [&] {
            const qsizetype lt = t.refusedCommand.indexOf('<'), gt = t.refusedCommand.indexOf('>', lt + 1);
            return lt >= 0 && gt > lt ? QString::fromUtf8(t.refusedCommand.mid(lt + 1, gt - lt - 1)) : QString();
        };
        if (command.startsWith("RCPT"))
            return "The mail server refused the recipient " + argument() + ", so the mail was not sent to anyone. "
                   "The server said: " + said;
        if (command.startsWith("MAIL"))
            return "The mail server refused the sender address " + argument() + ". The server said: " + said;
        if (command.startsWith("AUTH"))
            return "The mail server refused the log-in. The server said: " + said;
        return "The mail server refused the message. The server said: " + said;
    }
    switch (rc) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return "Could not find the mail server " + server + ".";
    case CURLE_COULDNT_CONNECT:
        return "Could not connect to the mail server " + server + ".";
    case CURLE_OPERATION_TIMEDOUT:
        return t.answered ? "The mail server " + server + " stopped answering."
                          : "The mail server " + server + " did not answer.";
    case CURLE_URL_MALFORMAT:
        return "The mail server setting is not a server name: " + url;
    case CURLE_READ_ERROR:
        return "An attachment could not be read: " + QString::fromUtf8(errorBuffer);
    default:
        break;
    }
    QString why = QString::fromUtf8(curl_easy_strerror(rc));
    if (errorBuffer[0])
        why += ": " + QString::fromUtf8(errorBuffer);
    return why;
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

// One file as a part: an attachment, or in an HTML mail a related part that the page shows. The
// disposition is written here (curl would put the name on one unfolded line, unencoded).
void AddFilePart(curl_mime* mime, const QString& path, bool related)
{
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_filedata(part, QFile::encodeName(path).constData());
    curl_mime_type(part, ContentType(path).constData());
    curl_mime_encoder(part, "base64");
    const QString name = QFileInfo(path).fileName();
    curl_slist* headers = nullptr;
    if (related)
        headers = curl_slist_append(headers, ("Content-ID: <" + SendMail::contentId(path) + ">").constData());
    headers = curl_slist_append(
        headers, headers::Fold("Content-Disposition: " + headers::Disposition(related ? "inline" : "attachment", name)).constData());
    curl_mime_headers(part, headers, 1);
}


} // namespace

QByteArray SendMail::contentId(const QString& path)
{
    const QByteArray name = QFileInfo(path).fileName().toUtf8();
    const QByteArray readable = name.toPercentEncoding("@.-_");
    // A Content-ID cannot be folded: a long name is stood for by its digest.
    if (readable.size() > 48)
        return QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex() + "@tovalquendry";
    return readable + "@tovalquendry";
}

QByteArray SendMail::htmlCharset(const QByteArray& page)
{
    return text::PageCharset(page);
}

void SendMail::Cancel()
{
    cancelled_ = true;
    std::lock_guard<std::mutex> lock(wakeLock_);
    if (running_)
        curl_multi_wakeup(static_cast<CURLM*>(running_));
}

void SendMail::Reset() { cancelled_ = false; }

SendMail::Result SendMail::Send()
{
    LastErrorNumber = 0;
    auto raiseStatus = [this](const QString& s) { if (Status) Status(s); };
    auto fail = [this](const QString& why) {
        if (LastErrorNumber == 0)
            LastErrorNumber = -1;
        if (SendFailed)
            SendFailed(why);
        return Result::Failed;
    };
    if (cancelled_)
        return Result::Cancelled;

    InitCurlOnce();
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return fail("The mail connection could not be set up.");
    CURL* h = curl.get();
    char errorBuffer[CURL_ERROR_SIZE] = {};

    if (OneLine(SMTPHost).trimmed().isEmpty())
        return fail("No mail server is set.");
    const QStringList to = Addresses(Recipient);
    if (to.isEmpty())
        return fail("No recipient address was given.");
    for (const QString& a : to)
        if (!IsWellFormed(a))
            return fail("The recipient address \"" + OneLine(a).simplified() + "\" is malformed, so the mail was not "
                        "sent to anyone. Correct it and send again.");
    Slist rcpt;
    for (const QString& a : to)
        Append(rcpt, "<" + a.toUtf8() + ">");

    Slist headers;
    auto header = [&headers](const QByteArray& line) { Append(headers, headers::Fold(line)); };
    header("Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
    header("From: " + headers::Mailbox(FromDisplayName, From));
    QByteArrayList toHeader;
    for (const QString& a : to)
        toHeader << "<" + a.toUtf8() + ">";
    header("To: " + toHeader.join(", "));
    header("Subject: " + headers::Unstructured(Subject));
    header("Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@tovalquendry>");
    // The mail's own type, folded before the boundary that libcurl appends.
    Append(headers, "Content-Type: multipart/mixed\r\n ");

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
        // libcurl adds "; boundary=" and 40 characters to the type on the same line: a fold before the
        // parameters keeps that line short.
        curl_mime_type(holder, "multipart/related;\r\n type=\"text/html\"");
    } else {
        // Typed line breaks are the text's own lines, not encoded characters inside one line.
        const QByteArray text = AsHTML ? Message : CrLfLines(Message);
        curl_mimepart* body = curl_mime_addpart(mime.get());
        curl_mime_data(body, text.constData(), size_t(text.size()));
        curl_mime_type(body, bodyType.constData());
        curl_mime_encoder(body, AsHTML ? "base64" : "quoted-printable");
        for (const QString& f : files)
            AddFilePart(mime.get(), f, false);
    }

    const QByteArray url = ServerUrl(SMTPHost).toUtf8();
    const QByteArray from = "<" + OneLine(From).trimmed().toUtf8() + ">";
    Transfer transfer;
    transfer.mail = this;
    transfer.expectedSize = Message.size() + 4096;
    for (const QString& f : files)
        transfer.expectedSize += (QFileInfo(f).size() + 2) / 3 * 4 * 78 / 76 + 512;
    transfer.cancelled = &cancelled_;
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
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, OnDebug);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_SOCKOPTFUNCTION, OnSocket);
    curl_easy_setopt(h, CURLOPT_SOCKOPTDATA, &transfer);

    raiseStatus("Connecting to " + ServerName(QString::fromUtf8(url)));
    if (Progress)
        Progress(0); // the bar starts again for the upload, whatever it showed before
    // The transfer runs through a multi handle so that Cancel can wake the wait at once.
    std::unique_ptr<CURLM, CURLMcode (*)(CURLM*)> multi(curl_multi_init(), curl_multi_cleanup);
    if (!multi)
        return fail("The mail connection could not be set up.");
    curl_multi_add_handle(multi.get(), h);
    {
        std::lock_guard<std::mutex> lock(wakeLock_);
        running_ = multi.get();
    }
    CURLcode rc = CURLE_OK;
    for (int active = 1; active > 0;) {
        if (cancelled_) {
            rc = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_perform(multi.get(), &active) != CURLM_OK) {
            rc = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued))
            if (msg->msg == CURLMSG_DONE)
                rc = msg->data.result;
        if (active > 0)
            curl_multi_poll(multi.get(), nullptr, 0, 100, nullptr);
    }
    {
        std::lock_guard<std::mutex> lock(wakeLock_);
        running_ = nullptr;
    }
    if (cancelled_) {
        // Cut the connection: a polite QUIT would wait on a server that is not answering.
        if (transfer.socket != CURL_SOCKET_BAD)
            ::shutdown(transfer.socket, SHUT_RDWR);
    }
    curl_multi_remove_handle(multi.get(), h);

    if (cancelled_) {
        raiseStatus("Cancelled");
        return Result::Cancelled;
    }
    if (rc != CURLE_OK) {
        LastErrorNumber = int(rc);
        raiseStatus("Failed");
        return fail(Explain(rc, transfer, QString::fromUtf8(url), errorBuffer));
    }
    if (Progress && transfer.lastPercent != 100)
        Progress(100);
    raiseStatus("Message sent");
    if (SendSuccesful)
        SendSuccesful();
    return Result::Sent;
}

} // namespace mail
