#pragma once
// A misbehaving SMTP server on 127.0.0.1 for the e-mail tests: one that takes the connection and never
// says a word, or one that refuses some recipients or the message itself with a reply of its own, or a
// strict one that refuses a message with a line over 1,000 octets ("500 Line too long") and keeps the
// bytes of what it accepts. A small Python socket server on a port of its choosing; it counts what it
// accepted for delivery.
#include "SmtpServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ScriptedSmtp {
public:
    enum Mode { Silent, RefuseRecipients, RefuseData, Strict };

    explicit ScriptedSmtp(Mode mode, const QStringList& refused = {})
    {
        static const char* script = R"PY(
import socket, sys, threading
mode, delivered, refused = sys.argv[1], sys.argv[2], set(sys.argv[3:])
lock, kept = threading.Lock(), [0]
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(('127.0.0.1', 0))
s.listen(8)
print(s.getsockname()[1], flush=True)
def serve(c):
    f = c.makefile('rb')
    if mode == 'silent':
        while c.recv(4096):
            pass
        return
    say = lambda text: c.sendall((text + '\r\n').encode())
    say('220 scripted ESMTP')
    rcpts = []
    while True:
        line = f.readline()
        if not line:
            return
        cmd = line.decode('utf-8', 'replace').strip()
        up = cmd.upper()
        if up.startswith('EHLO') or up.startswith('HELO'):
            say('250 scripted')
        elif up.startswith('MAIL'):
            rcpts = []
            say('250 2.1.0 Ok')
        elif up.startswith('RCPT'):
            address = cmd[cmd.find('<') + 1:cmd.find('>')]
            rcpts.append(address)
            say('550 5.1.1 <%s>: Recipient address rejected' % address if address in refused else '250 2.1.5 Ok')
        elif up == 'DATA':
            if mode == 'data':
                say('500 5.7.1 Message content rejected by policy')
                continue
            say('354 End data with <CR><LF>.<CR><LF>')
            lines, too_long = [], False
            while True:
                l = f.readline()
                if not l or l in (b'.\r\n', b'.\n'):
                    break
                too_long = too_long or len(l) > 1000
                lines.append(l[1:] if l.startswith(b'..') else l)
            if too_long:
                say('500 5.5.2 Line too long')
                continue
            if mode == 'strict':
                with lock:
                    kept[0] += 1
                    with open('%s.%03d.eml' % (delivered, kept[0]), 'wb') as out:
                        out.write(b''.join(lines))
                    with open('%s.%03d.rcpt' % (delivered, kept[0]), 'w') as out:
                        out.write(', '.join(rcpts))
            with open(delivered, 'a') as out:
                out.write('delivered\n')
            say('250 2.0.0 Ok: queued')
        elif up == 'RSET' or up == 'NOOP':
            say('250 2.0.0 Ok')
        elif up == 'QUIT':
            say('221 2.0.0 Bye')
            c.close()
            return
        else:
            say('502 5.5.2 Error: command not recognized')
while True:
    c, _ = s.accept()
    threading.Thread(target=serve, args=(c,), daemon=True).start()
)PY";
        const char* modeName = mode == Silent ? "silent" : mode == RefuseData ? "data" : mode == Strict ? "strict" : "refuse";
        process_.start("/usr/bin/python3", QStringList{"-c", script, modeName, deliveredFile()} + refused);
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(10000))
            port_ = process_.readLine().trimmed().toInt();
    }
    ~ScriptedSmtp()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    ScriptedSmtp(const ScriptedSmtp&) = delete;
    ScriptedSmtp& operator=(const ScriptedSmtp&) = delete;

    bool running() const { return port_ > 0; }
    QString host() const { return "127.0.0.1:" + QString::number(port_); }
    // How many messages the server accepted for delivery.
    int delivered() const
    {
        QFile f(deliveredFile());
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count('\n')) : 0;
    }

    // What a strict server accepted: the bytes as they arrived (dots unstuffed), oldest first.
    QList<QByteArray> rawMessages() const
    {
        QList<QByteArray> out;
        for (const QFileInfo& f : QDir(dir_.path()).entryInfoList({"delivered.*.eml"}, QDir::Files, QDir::Name)) {
            QFile file(f.absoluteFilePath());
            out << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        return out;
    }
    // The same, read with Python's e-mail package.
    QList<ReceivedMail> received() const
    {
        QList<ReceivedMail> out;
        for (const QFileInfo& f : QDir(dir_.path()).entryInfoList({"delivered.*.eml"}, QDir::Files, QDir::Name)) {
            out << SmtpServer::parse(f.absoluteFilePath());
            QFile envelope(f.absoluteFilePath().chopped(3) + "rcpt");
            if (envelope.open(QIODevice::ReadOnly))
                out.last().envelopeTo = QString::fromUtf8(envelope.readAll());
        }
        return out;
    }

private:
    QString deliveredFile() const { return dir_.path() + "/delivered"; }

    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
};
