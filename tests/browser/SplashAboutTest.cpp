#include "browser/frmAbout.h"
#include "browser/frmSplash.h"
#include "support/UiRecorder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
QLabel* labelOf(QWidget* form, const char* name)
{
    auto* l = form->findChild<QLabel*>(name);
    EXPECT_NE(l, nullptr) << name;
    return l;
}

bool looksLikeALink(QLabel* l)
{
    return l->font().underline() && l->palette().color(QPalette::WindowText) == QColor(0, 0, 255);
}

bool looksPlain(QLabel* l)
{
    return !l->font().underline() && l->palette().color(QPalette::WindowText) == QColor(0, 0, 0);
}

void send(QWidget* target, QEvent::Type type, Qt::MouseButton button = Qt::NoButton)
{
    const QPointF at(2, 2);
    QMouseEvent event(type, at, target->mapToGlobal(at), button, button == Qt::NoButton ? Qt::NoButton : button,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void key(QWidget* target, QEvent::Type type, int code)
{
    QKeyEvent event(type, code, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}
} // namespace

TEST(Splash, ShowsNameAndVersion)
{
    frmSplash splash;
    EXPECT_EQ(labelOf(&splash, "lblTitle")->text(), "Tovalquendry");
    EXPECT_EQ(labelOf(&splash, "lblVersion")->text(), "Version 1.0.0");
    EXPECT_FALSE(labelOf(&splash, "imgLogo")->pixmap().isNull());
    EXPECT_FALSE(labelOf(&splash, "imgBar")->pixmap().isNull());
}

TEST(Splash, AnyKeyOrAClickOnTheLogoClosesIt)
{
    for (const int code : {int(Qt::Key_Escape), int(Qt::Key_Space), int(Qt::Key_A)}) {
        QPointer<frmSplash> splash = new frmSplash;
        splash->show();
        key(splash, QEvent::KeyPress, code);
        EXPECT_FALSE(splash->isVisible()) << code;
        delete splash;
    }
    QPointer<frmSplash> splash = new frmSplash;
    splash->show();
    send(labelOf(splash, "lblTitle"), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_TRUE(splash->isVisible()) << "a click beside the logo closed the splash";
    send(labelOf(splash, "imgLogo"), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(splash->isVisible());
    delete splash;
}

TEST(About, ShowsTitleVersionAndTexts)
{
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About Tovalquendry");
    EXPECT_EQ(labelOf(&about, "lblTitle")->text(), "Tovalquendry");
    EXPECT_EQ(labelOf(&about, "lblVersion")->text(), "Version 1.0.0");
    EXPECT_EQ(labelOf(&about, "lblInfo")->text(), "Brought to you by :");
    EXPECT_EQ(labelOf(&about, "lblDonate")->text(),
              "If you use this software and feel it is worth it - please send a donation for the continuing "
              "development and support by clicking on the donate image. Thankyou!");
    EXPECT_FALSE(labelOf(&about, "imgDonate")->pixmap().isNull());
    EXPECT_FALSE(labelOf(&about, "imgLogo")->pixmap().isNull());
    auto* ok = about.findChild<QPushButton*>("cmdOk");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
}

TEST(About, EscapeAndOkCloseItOtherKeysDoNothing)
{
    frmAbout about;
    about.show();
    for (const int code : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_A), int(Qt::Key_Space)}) {
        key(&about, QEvent::KeyPress, code);
        key(&about, QEvent::KeyRelease, code);
        EXPECT_TRUE(about.isVisible()) << code;
    }
    key(&about, QEvent::KeyPress, Qt::Key_Escape);
    key(&about, QEvent::KeyRelease, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());

    about.show();
    about.findChild<QPushButton*>("cmdOk")->click();
    EXPECT_FALSE(about.isVisible());
}

TEST(About, LinksOpenThroughTheDesktop)
{
    UiRecorder recorder;
    frmAbout about;
    about.show();
    send(labelOf(&about, "lblWeb"), QEvent::MouseButtonRelease, Qt::LeftButton);
    send(labelOf(&about, "lblEmail"), QEvent::MouseButtonRelease, Qt::LeftButton);
    send(labelOf(&about, "imgDonate"), QEvent::MouseButtonRelease, Qt::LeftButton);
    send(labelOf(&about, "lblVersion"), QEvent::MouseButtonRelease, Qt::LeftButton);
    send(labelOf(&about, "lblWeb"), QEvent::MouseButtonRelease, Qt::RightButton);
    ASSERT_EQ(recorder.opened.size(), 3);
    EXPECT_EQ(recorder.opened[0], frmAbout::kWebPage);
    EXPECT_EQ(recorder.opened[1], "mailto:cook@tovalquendry.example.org?subject=Tovalquendry");
    EXPECT_EQ(recorder.opened[2], frmAbout::kDonatePage);
    EXPECT_TRUE(frmAbout::kWebPage.startsWith("https://"));
    EXPECT_TRUE(about.isVisible()) << "a link closed the box";
}

TEST(About, LinksLightUpUnderThePointerAndGoPlainOverTheForm)
{
    frmAbout about;
    about.show();
    QLabel* web = labelOf(&about, "lblWeb");
    QLabel* mail = labelOf(&about, "lblEmail");
    EXPECT_TRUE(looksPlain(web));
    EXPECT_TRUE(looksPlain(mail));

    send(web, QEvent::MouseMove);
    EXPECT_TRUE(looksLikeALink(web));
    EXPECT_TRUE(looksPlain(mail));
    send(mail, QEvent::MouseMove);
    EXPECT_TRUE(looksLikeALink(mail));

    send(&about, QEvent::MouseMove);
    EXPECT_TRUE(looksPlain(web));
    EXPECT_TRUE(looksPlain(mail));

    // After a click the link goes back to its plain look.
    UiRecorder recorder;
    send(mail, QEvent::MouseMove);
    send(mail, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_TRUE(looksPlain(mail));
}
