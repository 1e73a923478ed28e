#pragma once
// A real SMTP server on 127.0.0.1 for the e-mail tests and benchmark: Debian's aiosmtpd with its Mailbox
// handler, started on a free port and stopped when the object goes. Received messages are parsed with
// Python's own e-mail package and handed back as JSON (see ReceivedMail).
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// One leaf part of a received message.
struct ReceivedPart {
    QString type;         // "text/html"
    QString charset;
    QString filename;
    QString contentId;    // without the angle brackets
    QString disposition;  // "attachment", "inline" or ""
    QByteArray data;      // decoded bytes
};

struct ReceivedMail {
    QString from, to, subject, envelopeFrom, envelopeTo; // envelope: the SMTP transaction's own
    QStringList structure;                               // every part's content type, depth first
    QList<ReceivedPart> parts;                           // the leaves, in order

    const ReceivedPart* part(const QString& filename) const
    {
        for (const ReceivedPart& p : parts)
            if (p.filename == filename)
                return &p;
        return nullptr;
    }
};

class SmtpServer {
public:
    SmtpServer()
    {
        port_ = freePort();
        if (port_ == 0)
            return;
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start("/usr/bin/python3", {"-m", "aiosmtpd", "-n", "-c", "aiosmtpd.handlers.Mailbox",
                                            mailbox_.path() + "/box", "-l", "127.0.0.1:" + QString::number(port_)});
        if (!process_.waitForStarted(5000))
            return;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000 && process_.state() == QProcess::Running) {
            if (accepts(port_)) {
                running_ = true;
                return;
            }
            process_.waitForFinished(50); // returns at once unless the server ends
        }
    }
    ~SmtpServer()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000))
                process_.kill(), process_.waitForFinished(2000);
        }
    }
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    bool running() const { return running_; }
    QString whyNot() const { return "the local SMTP server (python3-aiosmtpd) could not be started"; }
    QString host() const { return "127.0.0.1:" + QString::number(port_); }
    static QString closedHost() { return "127.0.0.1:" + QString::number(freePort()); }

    // The messages received so far, oldest first.
    QList<ReceivedMail> received() const
    {
        QList<ReceivedMail> mails;
        const QDir box(mailbox_.path() + "/box/new");
        for (const QFileInfo& file : box.entryInfoList(QDir::Files, QDir::Time | QDir::Reversed))
            mails << parse(file.absoluteFilePath());
        return mails;
    }

    // One stored message read with Python's e-mail package; headers are unfolded, then decoded.
    static ReceivedMail parse(const QString& file)
    {
        static const char* script = R"PY(
import base64, email, email.policy, json, re, sys
from email.header import decode_header, make_header
m = email.message_from_binary_file(open(sys.argv[1], 'rb'), policy=email.policy.compat32)
unfold = lambda v: re.sub(r'\r?\n(?=[ \t])', '', v)
h = lambda k: str(make_header(decode_header(unfold(m.get(k, '')))))
out = {'from': h('From'), 'to': h('To'), 'subject': h('Subject'),
       'envelopeFrom': m.get('X-MailFrom', ''), 'envelopeTo': m.get('X-RcptTo', ''),
       'structure': [], 'parts': []}
for p in m.walk():
    out['structure'].append(p.get_content_type())
    if p.is_multipart():
        continue
    out['parts'].append({'type': p.get_content_type(), 'charset': p.get_content_charset() or '',
        'filename': p.get_filename() or '', 'cid': (p.get('Content-ID') or '').strip('<>'),
        'disposition': p.get_content_disposition() or '',
        'data': base64.b64encode(p.get_payload(decode=True) or b'').decode()})
print(json.dumps(out))
)PY";
        QProcess python;
        python.start("/usr/bin/python3", {"-c", script, file});
        python.waitForFinished(20000);
        const QJsonObject o = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
        ReceivedMail mail{o["from"].toString(), o["to"].toString(), o["subject"].toString(),
                          o["envelopeFrom"].toString(), o["envelopeTo"].toString(), {}, {}};
        for (const QJsonValue& v : o["structure"].toArray())
            mail.structure << v.toString();
        for (const QJsonValue& v : o["parts"].toArray()) {
            const QJsonObject p = v.toObject();
            mail.parts << ReceivedPart{p["type"].toString(), p["charset"].toString(), p["filename"].toString(),
                                       p["cid"].toString(), p["disposition"].toString(),
                                       QByteArray::fromBase64(p["data"].toString().toLatin1())};
        }
        return mail;
    }

private:
    static quint16 freePort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        quint16 port = 0;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            port = ntohs(addr.sin_port);
        ::close(fd);
        return port;
    }
    static bool accepts(quint16 port)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        ::close(fd);
        return ok;
    }

    QTemporaryDir mailbox_;
    QProcess process_;
    quint16 port_ = 0;
    bool running_ = false;
};
