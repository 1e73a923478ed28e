#pragma once
// Driving windows from the keyboard as a user does: the window is shown and active, and every key goes to
// the widget that has the focus at that moment.
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace keyboard {

// Shows the window and waits until it has the keyboard.
inline void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << window.objectName().toStdString();
}

inline QWidget* focused() { return QApplication::focusWidget(); }

// Presses and releases a key on the focused widget.
inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = focused();
    ASSERT_NE(target, nullptr) << "no widget has the focus";
    QTest::keyClick(target, key, modifiers);
}

// Types the text into the focused widget.
inline void type(const QString& text)
{
    QWidget* target = focused();
    ASSERT_NE(target, nullptr) << "no widget has the focus";
    QTest::keyClicks(target, text);
}

// Presses Tab until the widget has the focus; false when it never gets it within a lap of the window.
inline bool tabTo(const QWidget* target, int most = 80)
{
    for (int i = 0; i < most && focused() && focused() != target; ++i)
        QTest::keyClick(focused(), Qt::Key_Tab);
    return focused() == target;
}

} // namespace keyboard
