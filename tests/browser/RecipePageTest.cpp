#include "browser/RecipePage.h"
#include "browser/PageSaver.h"
#include "browser/PageText.h"
#include "browser/PageView.h"

#include "core/WholePage.h"
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/AppError.h"
#include "platform/mail/SendMail.h"
#include "platform/text/Codec.h"
#include "support/HtmlTags.h"
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct Recipe {
    QVariant title = "Mum$$s ##pie##";
    QVariant author = "Ann O$$Neil";
    QVariant category = "Dessert,Mum$$s";
    QVariant ingredients = "1 cup flour\r\n2 eggs";
    QVariant instructions = "Mix it$$s all.\r\nBake ## hot.";
    QVariant prep = "00:10", cook = "01:05", total = "01:15";
    QVariant origin = "Cote d$$Ivoire", yield = "4 servings";
    QVariant pictureName, picture;
};

qint64 AddRecipe(const Recipe& r)
{
    db::Query(basDatabase::cnCookbook,
              "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS, PREPTIME, COOKTIME, "
              "TOTALTIME, ORIGIN, YIELD, PICTURENAME, RECIPEPICTURE) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)",
              {r.title, r.author, r.category, r.ingredients, r.instructions, r.prep, r.cook, r.total, r.origin,
               r.yield, r.pictureName, r.picture})
        .exec();
    return basDatabase::cnCookbook.lastInsertId();
}

const QByteArray kTemplate = "<html><title>%title%</title>%by%[%cat%|%origin%|%yield%|%author%|%prep%|%cook%|"
                             "%total%]\r\n<!--PICSTART--><img src=\"%picture%\"><!--PICEND-->\r\n"
                             "<p>%ingredients%</p><p>%instructions%</p> a##b %TITLE%</html>";

class RecipePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.createCookbook("Page");
        useTemplate(kTemplate);
    }
    void useTemplate(const QByteArray& bytes)
    {
        writeBytes(program.path("templates/fixed.html"), bytes);
        basMain::sTemplatePath = program.path("templates/fixed.html");
    }
    QString key(qint64 id) const { return "R" + QString::number(id); }

    ScratchProgram program;
    UiRecorder recorder;
};

TEST_F(RecipePage, FillsEveryPlaceholderInOrderAndWritesTheDisplayPage)
{
    Recipe r;
    r.pictureName = "cake.jpg";
    r.picture = QByteArray("JPEGDATA");
    const QString page = WriteRecipePage(key(AddRecipe(r)), false);

    const QString picture = program.page("cake.jpg");
    ASSERT_EQ(page, program.page("recipe.html"));
    EXPECT_EQ(readBytes(page),
              "<html><title>Mum&#39;s  pie </title>[Dessert,Mum&#39;s|Cote d&#39;Ivoire|4 servings|Ann O&#39;Neil|00:10|01:05|01:15]\r\n"
              "<!--PICSTART--><img src=\"" + picture.toUtf8() + "\"><!--PICEND-->\r\n"
              "<p>1 cup flour<br>2 eggs</p><p>Mix it&#39;s all.<br>Bake ## hot.\r\n\r\n<hr></p> a b %TITLE%</html>\r\n");
    EXPECT_EQ(readBytes(picture), "JPEGDATA");
    EXPECT_EQ(readBytes(program.path("recipe.html")), kTemplate) << "the working copy of the template";
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(RecipePage, NullFieldsAndMissingPicturesEmptyTheirPlaces)
{
    struct Case {
        const char* name;
        QVariant pictureName, picture;
    } cases[] = {
        {"no picture", {}, {}},
        {"a name without bytes", "cake.jpg", {}},
        {"a name that is only folders", "pics/", QByteArray("X")},
    };
    for (const Case& c : cases) {
        Recipe r;
        r.title = QString("T ") + c.name;
        r.author = ""; // a required column
        r.prep = r.cook = r.total = r.origin = r.yield = QVariant();
        r.pictureName = c.pictureName;
        r.picture = c.picture;
        const QString page = WriteRecipePage(key(AddRecipe(r)), false);
        EXPECT_EQ(readBytes(page), "<html><title>T " + QByteArray(c.name) + "</title>[Dessert,Mum&#39;s||||||]\r\n"
                                   "<!--PICSTART--><!--PICEND-->\r\n<p>1 cup flour<br>2 eggs</p>"
                                   "<p>Mix it&#39;s all.<br>Bake ## hot.\r\n\r\n<hr></p> a b %TITLE%</html>\r\n")
            << c.name;
        EXPECT_EQ(QDir(program.page()).entryList(QDir::Files), QStringList{"recipe.html"}) << c.name;
    }
}

TEST_F(RecipePage, PictureNameFromDataNeverChoosesAFolder)
{
    Recipe r;
    r.pictureName = "..\\..\\outside/cake.jpg";
    r.picture = QByteArray("JPEG");
    const QString page = WriteRecipePage(key(AddRecipe(r)), false);
    EXPECT_TRUE(readBytes(page).contains("src=\"" + program.page("cake.jpg").toUtf8() + "\""));
    EXPECT_EQ(readBytes(program.page("cake.jpg")), "JPEG");
    EXPECT_FALSE(QFile::exists(program.path("outside")));
}

TEST_F(RecipePage, BrokenPictureBlockIsReportedAndWritesNoPage)
{
    const qint64 id = AddRecipe(Recipe());
    for (const QByteArray& broken : {QByteArray("a<!--PICSTART-->b"), QByteArray("<!--PICEND-->a<!--PICSTART-->b")}) {
        useTemplate(broken);
        recorder.boxes.clear();
        EXPECT_EQ(WriteRecipePage(key(id), false), "") << broken.constData();
        EXPECT_FALSE(QFile::exists(program.page("recipe.html")));
        ASSERT_EQ(recorder.boxes.size(), 1);
        EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module Function DisplayRecipe"));
    }
    // With the start marker missing there is no block, and nothing to complain about.
    useTemplate("a<!--PICEND-->b");
    EXPECT_EQ(readBytes(WriteRecipePage(key(id), false)), "a<!--PICEND-->b\r\n");
}

TEST_F(RecipePage, KeysThatNameNoRecipe)
{
    writeBytes(program.page("old.html"), "old");
    EXPECT_EQ(WriteRecipePage("R999", false), "");
    EXPECT_TRUE(recorder.boxes.isEmpty()) << "an unknown recipe is no error";
    EXPECT_FALSE(QFile::exists(program.page("old.html")));

    EXPECT_EQ(WriteRecipePage("Rabc", false), "");
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "(13)\r\nType mismatch\r\noccurred in module Function DisplayRecipe");
    EXPECT_TRUE(program.errorLog().contains("Function DisplayRecipe"));

    basMain::sTemplatePath = program.path("templates/missing.html");
    EXPECT_EQ(WriteRecipePage(key(AddRecipe(Recipe())), false), "");
    EXPECT_EQ(recorder.boxes.size(), 2);
}

TEST_F(RecipePage, EmailPagesAreNumberedAndLeaveThePageOnDisplayAlone)
{
    QDir().mkpath(program.page("email"));
    QDir().mkpath(program.page("keep"));
    writeBytes(program.page("keep/inner.txt"), "inner");
    writeBytes(program.page("1.bmp"), "pasted");
    writeBytes(program.page(".hidden"), "h");

    Recipe a, b;
    a.pictureName = "cake.jpeg";
    a.picture = QByteArray("A");
    b.title = "Second";
    b.pictureName = "photo.png";
    b.picture = QByteArray("B");
    const qint64 idA = AddRecipe(a), idB = AddRecipe(b);
    basMain::lEmailCount = 0;

    EXPECT_EQ(WriteRecipePage(key(idA), true), program.page("email/recipe1.html"));
    EXPECT_EQ(WriteRecipePage(key(idB), true), program.page("email/recipe2.html"));
    EXPECT_EQ(basMain::lEmailCount, 2);

    EXPECT_EQ(readBytes(program.page("email/1.jpeg")), "A");
    EXPECT_EQ(readBytes(program.page("email/2.png")), "B");
    EXPECT_TRUE(readBytes(program.page("email/recipe2.html"))
                    .contains("src=\"" + program.page("email/2.png").toUtf8() + "\""));
    EXPECT_EQ(QDir(program.page()).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{".hidden", ".instance.lock", "1.bmp"}));
    EXPECT_FALSE(QFile::exists(program.path("recipe.html"))) << "e-mail pages leave the display copy alone";

    // A display empties the page folder, but not the folders in it.
    WriteRecipePage(key(idA), false);
    EXPECT_EQ(QDir(program.page()).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{".instance.lock", "cake.jpeg", "recipe.html"}))
        << "all but the folder's lock";
    EXPECT_EQ(readBytes(program.page("keep/inner.txt")), "inner");
    EXPECT_TRUE(QFile::exists(program.page("email/recipe2.html")));
}

TEST_F(RecipePage, PageEncodingFollowsTheTemplate)
{
    Recipe r;
    r.title = QString::fromUtf8("Crème brûlée € 漢");
    const qint64 id = AddRecipe(r);

    useTemplate("<meta charset=\"windows-1252\">\xE9 %title%");
    EXPECT_EQ(readBytes(WriteRecipePage(key(id), false)),
              "<meta charset=\"windows-1252\">\xE9 Cr\xE8me br\xFBl\xE9" "e \x80 &#28450;\r\n");

    useTemplate("\xC3\xA9 %title%");
    EXPECT_EQ(readBytes(WriteRecipePage(key(id), false)), QByteArray("\xC3\xA9 ") + r.title.toString().toUtf8() + "\r\n");

    // Declared UTF-8 with stray 8-bit bytes: the page keeps to its declaration.
    useTemplate("<meta charset=utf-8>\xE9 %title%");
    EXPECT_EQ(readBytes(WriteRecipePage(key(id), false)),
              QByteArray("<meta charset=utf-8>\xC3\xA9 ") + r.title.toString().toUtf8() + "\r\n");

    // A pure-ASCII template that declares Windows-1252 makes a Windows-1252 page.
    useTemplate("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1252\">%title%");
    EXPECT_EQ(readBytes(WriteRecipePage(key(id), false)),
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1252\">"
              "Cr\xE8me br\xFBl\xE9" "e \x80 &#28450;\r\n");
    // Without a declaration a template that is no UTF-8 makes a Windows-1252 page.
    useTemplate("<p>\x93%title%\x94</p>");
    EXPECT_EQ(readBytes(WriteRecipePage(key(id), false)), "<p>\x93" "Cr\xE8me br\xFBl\xE9" "e \x80 &#28450;\x94</p>\r\n");
}

TEST_F(RecipePage, ValuesShowAsStoredAndNeverAsMarkup)
{
    Recipe r;
    r.title = QString::fromUtf8("<Spezial> Œufs & Żurek");
    r.author = "Zo\u00eb <zoe@example.org>";
    r.category = "Plats <chauds>,Dessert";
    r.ingredients = QString::fromUtf8("Μουσακάς & 寿司\r\n1 Ei <groß>");
    r.instructions = QString::fromUtf8("Ofen auf < 180 °C & > 160 °C vorheizen.\r\nL$$eau <b>bouillante</b>");
    r.pictureName = "Fish & Chips.jpg";
    r.picture = QByteArray("JPEG");
    const qint64 id = AddRecipe(r);
    useTemplate("<html><h1>%title%</h1><i>%author%</i> %cat%<!--PICSTART--><img src=\"%picture%\"><!--PICEND-->"
                "<p>%ingredients%</p><p>%instructions%</p></html>");
    const QByteArray body =
        QString::fromUtf8("<h1>&lt;Spezial&gt; Œufs &amp; Żurek</h1><i>Zoë &lt;zoe@example.org&gt;</i> "
                          "Plats &lt;chauds&gt;,Dessert<!--PICSTART--><img src=\"%1\"><!--PICEND-->"
                          "<p>Μουσακάς &amp; 寿司<br>1 Ei &lt;groß&gt;</p><p>Ofen auf &lt; 180 °C &amp; &gt; 160 °C "
                          "vorheizen.<br>L&#39;eau &lt;b&gt;bouillante&lt;/b&gt;\r\n\r\n<hr></p></html>\r\n")
            .toUtf8();
    auto withPicture = [&](const QString& path) {
        return "<html>" + QByteArray(body).replace("%1", QString(path).replace("&", "&amp;").toUtf8());
    };

    const QString page = WriteRecipePage(key(id), false);
    EXPECT_EQ(readBytes(page), withPicture(program.page("Fish & Chips.jpg")));

    PageView view;
    view.setSource(QUrl::fromLocalFile(page));
    const QString shown = view.toPlainText();
    for (const QString& stored : {r.title.toString(), QString::fromUtf8("Zoë <zoe@example.org>"),
                                  QString::fromUtf8("Μουσακάς & 寿司"), QString::fromUtf8("1 Ei <groß>"),
                                  QString::fromUtf8("Ofen auf < 180 °C & > 160 °C vorheizen."),
                                  QString::fromUtf8("L'eau <b>bouillante</b>")})
        EXPECT_TRUE(shown.contains(stored)) << stored.toStdString() << "\n" << shown.toStdString();

    // The saved page keeps the text and finds its picture under the escaped name.
    const QString saved = program.path("saved/Spezial.html");
    QDir().mkpath(program.path("saved"));
    ASSERT_TRUE(SavePageWithPicture(page, saved, program.page("Fish & Chips.jpg")));
    EXPECT_EQ(readBytes(saved), withPicture("Fish & Chips.jpg"));
    EXPECT_EQ(readBytes(program.path("saved/Fish & Chips.jpg")), "JPEG");

    // An e-mailed page gets the same text.
    QDir().mkpath(program.page("email"));
    basMain::lEmailCount = 0;
    EXPECT_EQ(readBytes(WriteRecipePage(key(id), true)), withPicture(program.page("email/1.jpg")));
}

TEST_F(RecipePage, LongTextIsWrappedOnThePageAndCutShortOnlyOnDisplay)
{
    // One blank-free run (a pasted Polish line), and far more ordinary lines than a page shows.
    const QString run = QString::fromUtf8("Żurek&śledź<łosoś>").repeated(20000);
    const QString lines = QString::fromUtf8("Crème fraîche, Äpfel und Μουσακάς mit 寿司\r\n").repeated(20000);
    Recipe r;
    r.ingredients = run;
    r.instructions = lines;
    const qint64 id = AddRecipe(r);
    useTemplate("<p>%ingredients%</p><p>%instructions%</p>");

    const QString note = "Open it in the recipe editor to see the rest.";
    auto longestRun = [](const QString& page) {
        qsizetype longest = 0, current = 0;
        const QString text = pagetext::Unescaped(QString(page).replace(QRegularExpression("<[^>]*>"), " "));
        for (const QChar c : text)
            current = (c.isSpace() || c == QChar(0x200B)) ? 0 : current + 1, longest = std::max(longest, current);
        return longest;
    };

    const QString page = WriteRecipePage(key(id), false);
    const QString shown = QString::fromUtf8(readBytes(ShownFormOf(page)));
    EXPECT_LE(longestRun(shown), 64);
    EXPECT_LT(pagetext::Unescaped(shown).size(), 210000) << "the view shows the beginning only";
    EXPECT_TRUE(shown.startsWith(QString::fromUtf8("<p>Żurek&amp;śledź&lt;łosoś&gt;Żurek")));
    EXPECT_TRUE(shown.contains(note));
    EXPECT_FALSE(shown.contains(QString::fromUtf8("Crème"))) << "the run used up the page's share";
    PageView view;
    view.setSource(QUrl::fromLocalFile(page));
    EXPECT_TRUE(view.toPlainText().contains(note));

    // The page itself, once it leaves the program, and an e-mailed page hold everything, with no break of
    // the view's.
    wholepage::complete();
    QDir().mkpath(program.page("email"));
    basMain::lEmailCount = 0;
    for (const QString& path : {page, WriteRecipePage(key(id), true)}) {
        QString whole = QString::fromUtf8(readBytes(path));
        EXPECT_FALSE(whole.contains(note));
        EXPECT_FALSE(whole.contains(QChar(0x200B)));
        whole.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">");
        EXPECT_EQ(whole, "<p>" + run + "</p><p>" + QString(lines).replace("\r\n", "<br>") + "\r\n\r\n<hr></p>\r\n");
    }

    // A short text is shown whole; the stored text never holds a break of the page's.
    r.title = QString::fromUtf8("Łosoś");
    r.ingredients = QString::fromUtf8("Łosoś").repeated(100);
    r.instructions = "Kochen.";
    const QString whole = QString::fromUtf8(readBytes(ShownFormOf(WriteRecipePage(key(AddRecipe(r)), false))));
    EXPECT_FALSE(whole.contains(note));
    EXPECT_EQ(QString(whole).remove(QChar(0x200B)), "<p>" + r.ingredients.toString() + "</p><p>Kochen.\r\n\r\n<hr></p>\r\n");
    db::Query stored(basDatabase::cnCookbook, "SELECT INGREDIENTS FROM RECIPES WHERE ID=?1", {id});
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.text("INGREDIENTS"), run);
}

// Wide East Asian characters take the view several times as long to lay out as Latin letters: the page on
// display shows fewer of them, so that a long Japanese recipe shows as quickly as a long French one.
TEST_F(RecipePage, APageOfWideCharactersIsCutShorterOnDisplay)
{
    const QString sentence = QString::fromUtf8("鍋に水を入れて火にかけ、沸騰したら昆布を加える。\r\n");
    Recipe r;
    r.instructions = sentence.repeated(pagetext::kShownChars / sentence.size());
    const qint64 id = AddRecipe(r);
    useTemplate("<p>%instructions%</p>");

    const QString shown = pagetext::Unescaped(QString::fromUtf8(readBytes(WriteRecipePage(key(id), false))));
    EXPECT_TRUE(shown.contains("Open it in the recipe editor to see the rest."));
    const qsizetype kana = shown.count(QString::fromUtf8("沸騰")) * sentence.size();
    EXPECT_GT(kana, pagetext::kShownChars / 5);
    EXPECT_LT(kana, pagetext::kShownChars * 3 / 10);
    EXPECT_TRUE(shown.contains(QString::fromUtf8("加える。<br><br>(This recipe is too long"))) << "cut at a line end";
}

TEST_F(RecipePage, ATemplateInAnyDeclaredCharsetMakesAPageInThatCharset)
{
    Recipe r;
    r.title = QString::fromUtf8("Żurek, Μουσακάς & 寿司");
    const qint64 id = AddRecipe(r);
    const struct {
        QByteArray charset;
        QString heading;
        QByteArray title; // as the page holds it
    } cases[] = {
        {"windows-1250", QString::fromUtf8("Składniki"),
         "\xafurek, &#924;&#959;&#965;&#963;&#945;&#954;&#940;&#962; &amp; &#23551;&#21496;"},
        {"ISO-8859-7", QString::fromUtf8("Υλικά"), "&#379;urek, \xcc\xef\xf5\xf3\xe1\xea\xdc\xf2 &amp; &#23551;&#21496;"},
        {"Shift_JIS", QString::fromUtf8("材料"),
         "&#379;urek, \x83\xaa\x83\xcd\x83\xd2\x83\xd0\x83\xbf\x83\xc8&#940;&#962; &amp; \x8e\xf5\x8e\x69"},
        {"koi8-r", QString::fromUtf8("Ингредиенты"), "&#379;urek, &#924;&#959;&#965;&#963;&#945;&#954;&#940;&#962; &amp; &#23551;&#21496;"},
    };
    for (const auto& c : cases) {
        const QByteArray head = "<meta charset=\"" + c.charset + "\"><h2>" + text::encodeExactly(c.heading, c.charset).value() + "</h2>";
        useTemplate(head + "<p>%title%</p>");
        const QString page = WriteRecipePage(key(id), false);
        EXPECT_EQ(readBytes(page), head + "<p>" + c.title + "</p>\r\n") << c.charset.constData();
        EXPECT_EQ(mail::SendMail::htmlCharset(readBytes(page)), c.charset);
        PageView view;
        view.setSource(QUrl::fromLocalFile(page));
        EXPECT_EQ(view.toPlainText().trimmed(), c.heading + "\n" + r.title.toString()) << c.charset.constData();
    }
}

TEST_F(RecipePage, TheViewReadsThePageInItsOwnEncoding)
{
    Recipe r;
    r.title = QString::fromUtf8("Cr\u00e8me br\u00fbl\u00e9e");
    const qint64 id = AddRecipe(r);
    PageView view;
    for (const QByteArray& page : {QByteArray("<meta charset=\"windows-1252\"><p>%title%</p>"),
                                   QByteArray("<p>\x93%title%\x94</p>"), QByteArray("<p>\xC2\xBB%title%</p>")}) {
        useTemplate(page);
        view.setSource(QUrl::fromLocalFile(WriteRecipePage(key(id), false)));
        EXPECT_TRUE(view.toPlainText().contains(r.title.toString())) << view.toPlainText().toStdString();
        view.setSource(QUrl());
    }
}

TEST_F(RecipePage, TemplateThatIsTheWorkingCopyIsReadInPlace)
{
    writeBytes(program.path("recipe.html"), "<b>%title%</b>");
    basMain::sTemplatePath = program.path("recipe.html");
    Recipe r;
    r.title = "Soup";
    EXPECT_EQ(readBytes(WriteRecipePage(key(AddRecipe(r)), false)), "<b>Soup</b>\r\n");
    EXPECT_EQ(readBytes(program.path("recipe.html")), "<b>%title%</b>");
}

TEST_F(RecipePage, ShippedTemplateNamesThePictureInItsFirstSource)
{
    basMain::sTemplatePath = program.path("templates/default.html");
    QDir().mkpath(program.page("email"));
    Recipe r;
    r.pictureName = "cake.jpg";
    r.picture = QByteArray("JPEG");
    const QString html = QString::fromUtf8(readBytes(WriteRecipePage(key(AddRecipe(r)), true)));
    const QRegularExpressionMatch src = QRegularExpression("src=\"([^\"]*)\"").match(html);
    ASSERT_TRUE(src.hasMatch());
    EXPECT_EQ(src.captured(1), program.page("email/1.jpg"));
    for (const char* field : {"Mum&#39;s  pie ", "Ann O&#39;Neil", "Cote d&#39;Ivoire", "4 servings", "00:10", "01:05", "01:15"})
        EXPECT_TRUE(html.contains(field)) << field;
    EXPECT_FALSE(html.contains(QRegularExpression("%[a-z]+%"))) << "every placeholder is filled";
}


// A stored value is text wherever the template puts it: never markup, never an attribute of its own, and
// never a placeholder filled in turn. The picture keeps a name that the page, its saved copy and the mail
// can carry.
TEST_F(RecipePage, StoredValuesStayTextInAttributesAndAreNeverFilledAgain)
{
    useTemplate("<html><h1>%title%</h1><img alt=\"%title%\" title='%cat%'>"
                "<!--PICSTART--><img src=\"%picture%\" width=\"250\"><!--PICEND-->"
                "<p>%origin%</p><p>%instructions%</p></html>");
    const QString injected = "p.jpg\" onerror=\"document.title='X'\" x=\"'";
    Recipe r;
    r.category = "%title% %picture%";
    r.origin = "%instructions%";
    r.instructions = "Bake ## hot.";
    QDir().mkpath(program.page("email"));
    QDir().mkpath(program.path("saved"));

    int n = 0;
    for (const QString& name : {injected, QString("we\"ird;name=x.jpg"), QString("tart.jpg")}) {
        SCOPED_TRACE(name.toStdString());
        const QString title = "Tom's \"best\" <pie> & 'more' " + QString::number(++n);
        r.title = "Tom$$s \"best\" <pie> & 'more' " + QString::number(n);
        r.pictureName = name;
        r.picture = QByteArray("JPEG of ") + name.toUtf8();
        const qint64 id = AddRecipe(r);
        basMain::lEmailCount = 0;
        QString picture;
        const QString shown = WriteRecipePage(key(id), false, &picture);
        const QString saved = program.path("saved/page.html");
        try {
            ASSERT_TRUE(SavePageWithPicture(shown, saved, picture));
        } catch (const AppError& e) {
            FAIL() << e.description.toStdString();
        }
        const QString mailed = WriteRecipePage(key(id), true);

        for (const QString& page : {shown, saved, mailed}) {
            SCOPED_TRACE(page.toStdString());
            const QByteArray bytes = readBytes(page);
            const QList<TagAttributes> images = TagsOf(bytes, "img");
            ASSERT_EQ(images.size(), 2) << bytes.constData();
            EXPECT_EQ(NamesOf(images[0]), QStringList({"alt", "title"}));
            EXPECT_EQ(ValueOf(images[0], "alt"), title);
            EXPECT_EQ(ValueOf(images[0], "title"), "%title% %picture%");
            EXPECT_EQ(NamesOf(images[1]), QStringList({"src", "width"})) << "only the template's attributes";
            const QString src = ValueOf(images[1], "src");
            const QString file = QFileInfo(src).isAbsolute() ? src : QFileInfo(page).dir().filePath(src);
            EXPECT_EQ(readBytes(file), r.picture.toByteArray()) << "the page finds its picture: " << src.toStdString();
            EXPECT_TRUE(bytes.contains("<p>%instructions%</p><p>Bake ## hot.")) << "the origin shows as stored";
        }
        PageView view;
        view.setSource(QUrl::fromLocalFile(shown));
        EXPECT_TRUE(view.toPlainText().contains(title));
    }
}

// Only the view shortens a long recipe and breaks its long runs; the page that is saved, printed or
// mailed holds the stored text whole and unchanged.
TEST_F(RecipePage, APageThatLeavesTheProgramHoldsTheStoredTextWhole)
{
    const QString link = "https://example.org/recipes/" + QString("very-long-name-").repeated(20) + "?id=1&x=<2>";
    const QString line = QString::fromUtf8("Stir the Żurek & taste, see ") + link + "\r\n";
    Recipe r;
    r.instructions = line.repeated(5 * 1024 * 1024 / line.size());
    const qint64 id = AddRecipe(r);
    useTemplate("<html><body><p>%instructions%</p></body></html>");
    const auto storedText = [](QByteArray page) {
        QString text = QString::fromUtf8(page);
        const qsizetype start = text.indexOf("<p>") + 3, end = text.indexOf("\r\n\r\n<hr></p>");
        return pagetext::Unescaped(text.mid(start, end - start).replace("<br>", "\r\n"));
    };
    const QString stored = r.instructions.toString();

    QString picture;
    const QString page = WriteRecipePage(key(id), false, &picture);
    const QString saved = program.path("saved.html");
    ASSERT_TRUE(SavePageWithPicture(page, saved, picture));
    EXPECT_EQ(storedText(readBytes(saved)), stored);
    EXPECT_EQ(storedText(readBytes(page)), stored);
    QDir().mkpath(program.page("email"));
    EXPECT_EQ(storedText(readBytes(WriteRecipePage(key(id), true))), stored);

    PageView view;
    view.setSource(QUrl::fromLocalFile(page));
    const QString shown = view.toPlainText();
    EXPECT_LT(shown.size(), 250000) << "the view shows the beginning only";
    EXPECT_TRUE(shown.contains("Open it in the recipe editor to see the rest."));
    EXPECT_TRUE(shown.contains(QChar(0x200B))) << "the view breaks the long link";

    // Printing takes the page itself, not the view's short form.
    const auto whole = view.wholeDocument();
    ASSERT_NE(whole, nullptr);
    const QString printed = whole->toPlainText();
    EXPECT_FALSE(printed.contains(QChar(0x200B)));
    EXPECT_FALSE(printed.contains("Open it in the recipe editor"));
    EXPECT_TRUE(printed.startsWith(QString(line).remove("\r\n")));
    EXPECT_EQ(printed.count(link), stored.count(link));
}

} // namespace
