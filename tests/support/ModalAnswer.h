#pragma once
// Answers a modal dialog that the code under test opens itself.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Waits for the code under test to open a modal dialog of type T, runs `action` on it, and closes it if
// the action left it open. Any other modal dialog, or none within the time limit, fails the test.
template <class T>
class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(T&)> action) : action_(std::move(action))
    {
        clock_.start();
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    ~ModalAnswer() { EXPECT_TRUE(answered_) << "no dialog was opened"; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<T*>(modal)) {
            timer_.stop();
            answered_ = true;
            action_(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            ADD_FAILURE() << "an unexpected dialog opened: " << other->objectName().toStdString();
            other->reject();
        } else if (clock_.elapsed() > 10000) {
            timer_.stop();
        }
    }

    std::function<void(T&)> action_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool answered_ = false;
};
