#include "core/TypedWork.h"

#include "platform/ui/Ui.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>

TypedWork::TypedWork(QWidget* window) : window_(window) {}

void TypedWork::keep() { kept_ = snapshot(); }

bool TypedWork::changed() const { return snapshot() != kept_; }

bool TypedWork::mayClose(const QString& question, const QString& title) const
{
    return !changed()
           || ui::msgBox(question, ui::Buttons::YesNo, ui::Icon::Question, title, ui::DefaultButton::Second)
                  == ui::Answer::Yes;
}

// Every value the user can change, control by control, in the window's own order.
QStringList TypedWork::snapshot() const
{
    QStringList values;
    if (!window_)
        return values;
    const auto ignored = [this](const QWidget* w) {
        for (const QPointer<QWidget>& part : notWork_)
            if (part && (w == part || part->isAncestorOf(w)))
                return true;
        return false;
    };
    for (QWidget* w : window_->findChildren<QWidget*>()) {
        if (ignored(w))
            continue;
        if (auto* box = qobject_cast<QLineEdit*>(w))
            values << box->text();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
            values << plain->toPlainText();
        else if (auto* rich = qobject_cast<QTextEdit*>(w))
            values << rich->toPlainText();
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            values << QString::number(combo->currentIndex()) + ':' + combo->currentText();
        else if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable())
            values << (button->isChecked() ? "1" : "0");
        else if (auto* list = qobject_cast<QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i)
                values << list->item(i)->text();
            values << QString::number(list->count());
        } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                values << tree->topLevelItem(i)->text(0);
            values << QString::number(tree->topLevelItemCount());
        }
    }
    if (extra)
        values << extra();
    return values;
}
