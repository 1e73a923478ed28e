#include "platform/mail/SendMail.h"

#include "support/ScriptedSmtp.h"
#include "support/SmtpServer.h"
#include "support/TestFiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class SendMailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!server.running())
            GTEST_SKIP() << server.whyNot().toStdString();
        mail.SMTPHost = server.host();
        mail.From = "cook@example.org";
        mail.FromDisplayName = "The Cook";
        mail.Recipient = "ann@example.org; bob@example.org";
        mail.Subject = "Recipes";
        mail.Progress = [this](int p) { progress << p; };
        mail.Status = [this](const QString& s) { statuses << s; };
        mail.SendSuccesful = [this] { ++successes; };
        mail.SendFailed = [this](const QString& why) { failures << why; };
    }
    QString file(const QString& name, const QByteArray& bytes) const
    {
        writeBytes(dir.path() + '/' + name, bytes);
        return dir.path() + '/' + name;
    }

    SmtpServer server;
    QTemporaryDir dir;
    mail::SendMail mail;
    QList<int> progress;
    QStringList statuses, failures;
    int successes = 0;
};

TEST_F(SendMailTest, TextWithAttachmentsArrivesWithEveryByte)
{
    QByteArray jpeg(30000, '\0');
    for (int i = 0; i < jpeg.size(); ++i)
        jpeg[i] = char(i % 256);
    mail.Message = "Two recipes.\r\nEnjoy";
    mail.Attachments = {file("1.jpg", jpeg), file("recipe1.html", "<p>caf\xe9</p>\r\n"), dir.path() + "/gone.html"};
    mail.Send();

    ASSERT_EQ(successes, 1) << failures.join("\n").toStdString();
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(progress.last(), 100);
    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 1);
    const ReceivedMail& m = got[0];
    EXPECT_EQ(m.subject, "Recipes");
    EXPECT_EQ(m.from, "\"The Cook\" <cook@example.org>");
    EXPECT_EQ(m.envelopeFrom, "cook@example.org");
    EXPECT_EQ(m.envelopeTo, "ann@example.org, bob@example.org");
    ASSERT_EQ(m.parts.size(), 3); // the missing file is left out
    EXPECT_EQ(m.parts[0].type, "text/plain");
    EXPECT_EQ(m.parts[0].data, QByteArray("Two recipes.\nEnjoy")); // the mailbox stores line ends as LF
    EXPECT_EQ(m.parts[1].filename, "1.jpg");
    EXPECT_EQ(m.parts[1].type, "image/jpeg");
    EXPECT_EQ(m.parts[1].disposition, "attachment");
    EXPECT_EQ(m.parts[1].data, jpeg);
    EXPECT_EQ(m.parts[2].filename, "recipe1.html");
    EXPECT_EQ(m.parts[2].charset, "windows-1252");
    EXPECT_EQ(m.parts[2].data, QByteArray("<p>caf\xe9</p>\r\n"));
}

// During the upload the bar and the status follow the bytes sent.
TEST_F(SendMailTest, TheUploadShowsTheBytesSent)
{
    QByteArray big(3 * 1000 * 1000, '\0');
    for (int i = 0; i < big.size(); ++i)
        big[i] = char((i * 2654435761u) >> 11);
    mail.Message = "Pictures";
    mail.Attachments = {file("big.jpg", big)};
    ASSERT_EQ(mail.Send(), mail::SendMail::Result::Sent) << failures.join("\n").toStdString();
    QList<int> between;
    for (int p : progress)
        if (p > 0 && p < 100)
            between << p;
    EXPECT_GE(between.size(), 3) << "the bar did not move during the upload";
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    const QStringList sending = statuses.filter(QRegularExpression("^Sending: [0-9.]+ of 4\\.[0-9] MB$"));
    ASSERT_GE(sending.size(), 3) << statuses.join(" | ").toStdString();
    EXPECT_EQ(sending.last(), "Sending: " + sending.last().section(' ', 3, 3) + " of " + sending.last().section(' ', 3, 3) + " MB");
}

TEST_F(SendMailTest, HtmlBodyCarriesItsPicturesAsRelatedParts)
{
    const QString picture = file("2.gif", "GIF89a-bytes");
    mail.AsHTML = true;
    mail.Message = "<img src=\"cid:" + mail::SendMail::contentId(picture) + "\"><p>Gr\xc3\xbc\xc3\x9f""e</p>";
    mail.Attachments = {picture};
    mail.Subject = "Gr\u00fc\u00dfe aus der K\u00fcche, und noch viel mehr Text damit die Zeile lang wird";
    mail.FromDisplayName = "K\u00f6chin";
    mail.Send();

    ASSERT_EQ(successes, 1) << failures.join("\n").toStdString();
    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 1);
    const ReceivedMail& m = got[0];
    EXPECT_EQ(m.subject, mail.Subject);
    EXPECT_EQ(m.from, "K\u00f6chin <cook@example.org>");
    EXPECT_EQ(m.structure, (QStringList{"multipart/mixed", "multipart/related", "text/html", "image/gif"}));
    EXPECT_EQ(m.parts[0].data, mail.Message);
    EXPECT_EQ(m.parts[0].charset, "utf-8");
    EXPECT_EQ(m.parts[1].contentId, mail::SendMail::contentId(picture));
    EXPECT_EQ(m.parts[1].disposition, "inline");
    EXPECT_EQ(m.parts[1].data, QByteArray("GIF89a-bytes"));
}

TEST_F(SendMailTest, TypedLineBreaksAddNoHeaders)
{
    // A picture named from data: its name goes into the part's headers as one line.
    mail.AsHTML = true;
    mail.Attachments = {file("tart\r\nX-Injected: yes.jpg", "JPEG")};
    mail.Subject = "Hi\r\nBcc: eve@example.org";
    mail.FromDisplayName = "Cook\r\nX-Injected: yes";
    mail.Recipient = "ann@example.org";
    mail.Message = "body";
    mail.Send();
    ASSERT_EQ(successes, 1) << failures.join("\n").toStdString();
    const QList<ReceivedMail> got = server.received();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].subject, "Hi Bcc: eve@example.org");
    EXPECT_EQ(got[0].from, "\"Cook X-Injected: yes\" <cook@example.org>");
    EXPECT_EQ(got[0].envelopeTo, "ann@example.org");
    ASSERT_EQ(got[0].parts.size(), 2);
    EXPECT_EQ(got[0].parts[1].filename, "tartX-Injected: yes.jpg");
    EXPECT_EQ(got[0].parts[1].data, QByteArray("JPEG"));
}

TEST_F(SendMailTest, FailuresAreReportedWithTheReason)
{
    const struct {
        QString name, host, recipients;
        QString reasonHolds;
    } cases[] = {
        {"server down", SmtpServer::closedHost(), "ann@example.org", "connect"},
        {"no host", "", "ann@example.org", ""},
        {"no recipient", server.host(), " ; ", "recipient"},
        {"line break in an address", server.host(), "ann@example.org\r\nBcc: eve@example.org", "malformed"},
        {"text after an address", server.host(), "bob@example.org; a@x.org>\nmore text", "\"a@x.org> more text\" is malformed"},
        {"no domain", server.host(), "ann@", "malformed"},
    };
    for (const auto& c : cases) {
        failures.clear();
        successes = 0;
        mail.SMTPHost = c.host;
        mail.Recipient = c.recipients;
        mail.Message = "body";
        mail.Send();
        EXPECT_EQ(successes, 0) << c.name.toStdString();
        ASSERT_EQ(failures.size(), 1) << c.name.toStdString();
        EXPECT_TRUE(failures[0].contains(c.reasonHolds, Qt::CaseInsensitive)) << failures[0].toStdString();
        EXPECT_FALSE(failures[0].contains("refused")) << failures[0].toStdString();
    }
    EXPECT_TRUE(server.received().isEmpty());
}

// A server as strict as common ones refuses any line over 1,000 octets. Long recipient lists, subjects,
// names and file names are folded and encoded so that it takes them, and they read back exactly.
TEST(SendMailStrictServer, LongHeadersAreFoldedAndReadBackExactly)
{
    ScriptedSmtp strict(ScriptedSmtp::Strict);
    ASSERT_TRUE(strict.running());
    QTemporaryDir dir;
    QStringList many;
    for (int i = 1; i <= 300; ++i)
        many << QString("recipient.number%1@example.org").arg(i);
    QString words;
    while (words.size() < 3000)
        words += "Apfelstrudel mit Vanillesauce ";
    const QString umlauts(600, QChar(0xDC));
    const QString longName = QString(100, QChar(0xE9)) + ".jpg";
    const struct {
        const char* name;
        QString recipients, subject, sender, picture;
    } cases[] = {
        {"300 recipients", many.join(';'), "Recipes", "The Cook", "cake.jpg"},
        {"3,000-character subject", "ann@example.org", words.left(3000), "The Cook", "cake.jpg"},
        {"subject without blanks", "ann@example.org", QString(3000, 'x'), "The Cook", "cake.jpg"},
        {"600 umlauts", "ann@example.org", umlauts, umlauts, QString(120, QChar(0xDC)) + ".gif"},
        {"non-ASCII picture names", "ann@example.org", "Cr\u00e8me br\u00fbl\u00e9e", "K\u00f6chin", "Cr\u00e8me br\u00fbl\u00e9e \u2013 \u5bff\u53f8.jpg"},
        {"long non-ASCII picture name", "ann@example.org", "Tarte", "Cook", longName},
    };
    int sent = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mail::SendMail mail;
        mail.SMTPHost = strict.host();
        mail.From = "cook@example.org";
        mail.FromDisplayName = c.sender;
        mail.Recipient = c.recipients;
        mail.Subject = c.subject;
        QStringList failures;
        mail.SendFailed = [&](const QString& why) { failures << why; };
        const QString picturePath = dir.path() + '/' + c.picture;
        writeBytes(picturePath, "picture bytes");
        for (bool html : {false, true}) {
            mail.AsHTML = html;
            mail.Message = html ? "<img src=\"cid:" + mail::SendMail::contentId(picturePath) + "\">" : QByteArray("See the picture.");
            mail.Attachments = {picturePath};
            ASSERT_EQ(mail.Send(), mail::SendMail::Result::Sent) << failures.join('\n').toStdString();
            ++sent;
            const QByteArray raw = strict.rawMessages().value(sent - 1);
            const QByteArray head = raw.left(raw.indexOf("\r\n\r\n"));
            for (const QByteArray& line : raw.split('\n'))
                EXPECT_LE(line.size(), 999) << line.left(80).toStdString();
            // Every header of these mails can be folded into short lines.
            for (const QByteArray& line : head.split('\n'))
                EXPECT_LT(line.size(), 79) << line.toStdString();
            const ReceivedMail got = strict.received().value(sent - 1);
            EXPECT_EQ(got.subject, c.subject);
            const bool ascii = c.sender.toUtf8() == c.sender.toLatin1();
            EXPECT_EQ(got.from, (ascii ? "\"" + c.sender + "\"" : c.sender) + " <cook@example.org>");
            QStringList to;
            for (const QString& a : c.recipients.split(';'))
                to << "<" + a + ">";
            EXPECT_EQ(got.to, to.join(", "));
            EXPECT_EQ(got.envelopeTo, c.recipients.split(';').join(", "));
            ASSERT_EQ(got.parts.size(), 2);
            EXPECT_EQ(got.parts[1].filename, c.picture);
            EXPECT_EQ(got.parts[1].data, QByteArray("picture bytes"));
            if (html)
                EXPECT_TRUE(got.parts[0].data.contains("cid:" + got.parts[1].contentId.toUtf8()));
        }
    }
}

// Typed line breaks are the text's own lines (CR LF), not characters encoded inside one long line.
TEST(SendMailStrictServer, TypedLineBreaksAreLinesOfTheText)
{
    ScriptedSmtp strict(ScriptedSmtp::Strict);
    ASSERT_TRUE(strict.running());
    mail::SendMail mail;
    mail.SMTPHost = strict.host();
    mail.From = "cook@example.org";
    mail.Recipient = "ann@example.org";
    QString typed;
    for (int i = 0; i < 40; ++i)
        typed += "Line " + QString::number(i) + " of what was typed\n";
    mail.Message = (typed + "Old Mac line\rlast\r\nline").toUtf8();
    ASSERT_EQ(mail.Send(), mail::SendMail::Result::Sent);
    const QByteArray raw = strict.rawMessages().value(0);
    EXPECT_FALSE(raw.contains("=0A") || raw.contains("=0D")) << raw.toStdString();
    EXPECT_TRUE(raw.contains("\r\nLine 0 of what was typed\r\nLine 1 of what was typed\r\n"));
    EXPECT_TRUE(raw.contains("\r\nOld Mac line\r\nlast\r\nline"));
    EXPECT_FALSE(QByteArray(raw).replace("\r\n", "").contains('\n'));
}

TEST(SendMailCharset, FollowsTheDeclarationThenTheBytes)
{
    EXPECT_EQ(mail::SendMail::htmlCharset("<meta charset=\"windows-1252\"><p>plain</p>"), "windows-1252");
    EXPECT_EQ(mail::SendMail::htmlCharset("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"), "utf-8");
    EXPECT_EQ(mail::SendMail::htmlCharset("<p>caf\xc3\xa9</p>"), "utf-8");
    EXPECT_EQ(mail::SendMail::htmlCharset("<p>caf\xe9</p>"), "windows-1252");
}

} // namespace
