#pragma once
// What the user has entered into a window since it was filled. Esc and the close box of a window that
// holds typed work ask before throwing it away; a window left as it was filled closes at once.
#include <QList>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

class TypedWork {
public:
    explicit TypedWork(QWidget* window);
    // A part of the window whose contents are no work of the user's (a pane showing other text).
    void leaveOut(QWidget* part) { notWork_ << part; }

    // Window state that is held outside its controls (a chosen picture), compared with the controls.
    std::function<QString()> extra;

    // The window as it is now is its untouched state.
    void keep();
    bool changed() const;
    // True when the window may close: nothing was changed, or the user chose to discard the changes.
    // "No" is the default answer, so Enter keeps the window as it was.
    bool mayClose(const QString& question, const QString& title) const;

private:
    QStringList snapshot() const;

    QPointer<QWidget> window_;
    QList<QPointer<QWidget>> notWork_;
    QStringList kept_;
};
