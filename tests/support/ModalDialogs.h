#pragma once
// Answers a modal dialog that the code under test opens itself.
#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Hands the next modal dialog that opens (within five seconds) to `answer`, which must close it.
inline void whenModalOpens(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer;
    auto started = std::make_shared<qint64>(QDateTime::currentMSecsSinceEpoch());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, started] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->deleteLater();
            answer(modal);
        } else if (QDateTime::currentMSecsSinceEpoch() - *started > 5000) {
            poll->deleteLater();
            ADD_FAILURE() << "no modal dialog opened";
        }
    });
    poll->start(10);
}
