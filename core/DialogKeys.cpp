#include "core/DialogKeys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>

bool IsPlainEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void ChainTabOrder(const QList<QWidget*>& order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

namespace {

class ButtonEnter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !IsPlainEnter(static_cast<QKeyEvent*>(event)))
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isVisible())
            return false;
        // A held key presses the button once.
        if (button->isEnabled() && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
            button->click();
        return true;
    }
};

// Marks the box on a focus that came with a mouse press; the release selects the text, unless the
// press and drag selected some themselves.
class ClickSelects : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
            pending_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            break;
        case QEvent::MouseButtonRelease:
            if (pending_ && !box->hasSelectedText())
                box->selectAll();
            pending_ = false;
            break;
        case QEvent::FocusOut: pending_ = false; break;
        default: break;
        }
        return false;
    }

private:
    bool pending_ = false;
};

} // namespace

void EnterPressesFocusedButton(QWidget* window)
{
    // One filter per window, however often the window calls this.
    ButtonEnter* filter = nullptr;
    for (QObject* child : window->children())
        if ((filter = dynamic_cast<ButtonEnter*>(child)))
            break;
    if (!filter)
        filter = new ButtonEnter(window);
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->installEventFilter(filter);
    }
    for (QToolButton* button : window->findChildren<QToolButton*>())
        button->installEventFilter(filter);
}

void SelectAllOnClick(QLineEdit* box)
{
    box->installEventFilter(new ClickSelects(box));
}

void TieLabel(QLabel* label, QWidget* box)
{
    label->setBuddy(box);
    const QString name = QString(label->text()).remove('&').remove(QRegularExpression(":\\s*$"));
    if (qobject_cast<QAbstractItemView*>(box) && box->accessibleName().isEmpty())
        box->setAccessibleName(name);
    // The text part of a combo that takes typing is what has the focus.
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

QLabel* LabelFor(QWidget* box, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    TieLabel(label, box);
    return label;
}

void TabStopsAtCheckedOption(const QList<QRadioButton*>& group)
{
    const auto follow = [group] {
        bool any = false;
        for (QRadioButton* option : group)
            any = any || option->isChecked();
        for (QRadioButton* option : group)
            option->setFocusPolicy(!any || option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    for (QRadioButton* option : group)
        QObject::connect(option, &QRadioButton::toggled, option, follow);
    follow();
}
