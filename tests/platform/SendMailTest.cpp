#include "platform/mail/SendMail.h"

#include "support/SmtpServer.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
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
        {"line break in an address", server.host(), "ann@example.org\r\nBcc: eve@example.org", ""},
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
    }
    EXPECT_TRUE(server.received().isEmpty());
}

TEST(SendMailCharset, FollowsTheDeclarationThenTheBytes)
{
    EXPECT_EQ(mail::SendMail::htmlCharset("<meta charset=\"windows-1252\"><p>plain</p>"), "windows-1252");
    EXPECT_EQ(mail::SendMail::htmlCharset("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"), "utf-8");
    EXPECT_EQ(mail::SendMail::htmlCharset("<p>caf\xc3\xa9</p>"), "utf-8");
    EXPECT_EQ(mail::SendMail::htmlCharset("<p>caf\xe9</p>"), "windows-1252");
}

} // namespace
