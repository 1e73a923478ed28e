#include "core/OwnerFocus.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class OwnerFocus : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Hide || !watched->isWidgetType())
            return false;
        auto* dialog = static_cast<QWidget*>(watched);
        if (!dialog->isWindow() || !dialog->isModal() || !dialog->parentWidget())
            return false;
        QPointer<QWidget> owner = dialog->parentWidget()->window();
        // Once the dialog is gone: a message that closed together with its dialog leaves the keyboard to
        // that dialog's owner, and a dialog opened next in its place keeps it. Activating the window gives
        // the focus back to the control that had it last (or that the owner chose meanwhile).
        QTimer::singleShot(0, owner, [owner] {
            // Asked even when the toolkit already counts the owner active: the window manager may not.
            if (!owner || !owner->isVisible() || owner->isMinimized())
                return;
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != owner)
                return;
            owner->raise();
            owner->activateWindow();
        });
        return false;
    }
};

} // namespace

void ReturnKeyboardToOwners()
{
    static QPointer<OwnerFocus> installed;
    if (installed || !qApp)
        return;
    installed = new OwnerFocus(qApp);
    qApp->installEventFilter(installed);
}
