// The real message boxes behind the ui layer: which button Enter presses, and a window shown drawn.
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Presses Enter on the next message box that opens, within five seconds; records its default button.
void pressEnterOnNextBox(QString* defaultButton)
{
    auto* poll = new QTimer;
    const qint64 started = QDateTime::currentMSecsSinceEpoch();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, defaultButton, started] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) {
            poll->deleteLater();
            *defaultButton = box->defaultButton() ? box->defaultButton()->text().remove('&') : QString();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box, &press);
        } else if (QDateTime::currentMSecsSinceEpoch() - started > 5000) {
            poll->deleteLater();
            ADD_FAILURE() << "no message box opened";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        }
    });
    poll->start(10);
}

} // namespace

TEST(MessageBoxes, EnterPressesTheDefaultButtonAndAnUndoableQuestionDefaultsToNo)
{
    struct Case {
        ui::Buttons buttons;
        ui::DefaultButton defaultButton;
        ui::Answer answer;
        const char* shown;
    };
    const Case cases[] = {
        {ui::Buttons::YesNo, ui::DefaultButton::Second, ui::Answer::No, "No"},
        {ui::Buttons::YesNo, ui::DefaultButton::First, ui::Answer::Yes, "Yes"},
        {ui::Buttons::YesNoCancel, ui::DefaultButton::Third, ui::Answer::Cancel, "Cancel"},
        {ui::Buttons::AbortRetryIgnore, ui::DefaultButton::Second, ui::Answer::Retry, "Retry"},
        {ui::Buttons::OK, ui::DefaultButton::Second, ui::Answer::OK, ""}, // no second button: the box's own
    };
    for (const Case& c : cases) {
        QString shownDefault;
        pressEnterOnNextBox(&shownDefault);
        EXPECT_EQ(ui::msgBox("Are you sure you wish to delete this Cookbook?", c.buttons, ui::Icon::Question,
                             "Tovalquendry", c.defaultButton),
                  c.answer)
            << c.shown;
        EXPECT_EQ(shownDefault, c.shown);
    }
}

TEST(ShowPainted, ReturnsWithTheWindowOnTheScreen)
{
    QWidget window;
    window.resize(200, 100);
    ui::showPainted(&window);
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_TRUE(window.windowHandle()->isExposed());

}

TEST(MessageBoxes, AShortQuestionUnderALongTitleShowsTheTitleWhole)
{
    for (const QString title : {"Delete Confirmation", "Mail Server Error", "Sauvegarde impossible : disque plein"}) {
        int boxWidth = 0, titleWidth = 0;
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                poll->deleteLater();
                QFont bold = box->font();
                bold.setBold(true);
                boxWidth = box->width();
                titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
                box->close();
            }
        });
        poll->start(10);
        ui::msgBox("Sure?", ui::Buttons::YesNo, ui::Icon::Question, title, ui::DefaultButton::Second);
        // The title, and the title bar's buttons beside it, fit the box.
        EXPECT_GE(boxWidth, titleWidth + 100) << qPrintable(title);
    }
}
