#pragma once
// Sends one e-mail over SMTP (libcurl): a text or HTML body with attached files. In HTML mode the
// attachments travel as related parts that the body refers to by "cid:" (see contentId), so that mail
// programs show the pictures inside the page. STARTTLS is used when the server offers it.
// Send blocks until the attempt has ended, so callers with a window run it on a worker thread; Cancel may
// be called from any thread and ends a running Send within a fraction of a second.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <mutex>

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

    // Events raised while Send runs, on the thread that runs it.
    std::function<void(int percent)> Progress;
    std::function<void(const QString& status)> Status;
    std::function<void()> SendSuccesful;
    std::function<void(const QString& explanation)> SendFailed;

    enum class Result { Sent, Failed, Cancelled };
    // Sends the message; returns when the attempt has ended, after raising SendSuccesful or SendFailed
    // (neither when it was cancelled). A failure's explanation is one plain sentence: the server's own
    // reply when it refused something (and which recipient it refused), else what went wrong.
    Result Send();
    // Stops a running Send, or the next one (until Reset).
    void Cancel();
    void Reset();
    bool isCancelled() const { return cancelled_; }
    // The error number of the last failure (libcurl's code), for the error log.
    int LastErrorNumber = 0;

    // The Content-ID an HTML body uses for an attached file: "cid:" followed by this.
    static QByteArray contentId(const QString& path);
    // The character set of a recipe page's bytes, by the page encoding rule (text::PageCharset), such as
    // "utf-8", "windows-1252" or "windows-1250". Attached pages and the HTML body are labelled with it.
    static QByteArray htmlCharset(const QByteArray& page);

    // The connection time limit and the time without progress after which the attempt is given up.
    int timeoutSeconds = 30;

private:
    std::atomic<bool> cancelled_{false};
    std::mutex wakeLock_;
    void* running_ = nullptr; // the multi handle of the Send in progress, under wakeLock_
};

} // namespace mail
