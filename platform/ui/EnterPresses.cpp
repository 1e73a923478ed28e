#include "platform/ui/EnterPresses.h"

#include <QKeyEvent>
#include <QPushButton>

namespace ui {
namespace {

class EnterOnFocusedButton : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void pressOnlyWhenFocused(std::initializer_list<QPushButton*> buttons)
{
    static EnterOnFocusedButton filter;
    for (QPushButton* button : buttons) {
        button->setDefault(false);
        button->setAutoDefault(false);
        button->installEventFilter(&filter);
    }
}

} // namespace ui
