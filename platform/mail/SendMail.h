#pragma once
// Sends one e-mail over SMTP (libcurl): a text or HTML body with attached files. In HTML mode the
// attachments travel as related parts that the body refers to by "cid:" (see contentId), so that mail
// programs show the pictures inside the page. STARTTLS is used when the server offers it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace mail {

class SendMail {
public:
    QString SMTPHost;          // "host" or "host:port"; "smtp://" or "smtps://" may lead
    QString From;              // the sender's address
    QString FromDisplayName;   // the sender's name
    QString Recipient;         // addresses separated by ";"
    QString Subject;
    QByteArray Message;        // the body's bytes, in `Charset`
    QByteArray Charset = "utf-8";
    bool AsHTML = false;
    QStringList Attachments;   // full paths

    // Events raised while Send runs.
    std::function<void(int percent)> Progress;
    std::function<void(const QString& status)> Status;
    std::function<void()> SendSuccesful;
    std::function<void(const QString& explanation)> SendFailed;

    // Sends the message; returns when the attempt has ended, after raising SendSuccesful or SendFailed.
    void Send();

    // The Content-ID an HTML body uses for an attached file: "cid:" followed by this.
    static QByteArray contentId(const QString& path);
    // The character set of a recipe page's bytes, by the page encoding rule (text::PageCharset), such as
    // "utf-8", "windows-1252" or "windows-1250". Attached pages and the HTML body are labelled with it.
    static QByteArray htmlCharset(const QByteArray& page);

    // The connection time limit and the time without progress after which the attempt is given up.
    int timeoutSeconds = 30;
};

} // namespace mail
