#include "core/AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

namespace {

class AccessibleComboBox : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    // The name as for any widget (its accessible name, else its label); the entry shown is the value.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->isEditable() && combo()->lineEdit() ? combo()->lineEdit()->text() : combo()->currentText();
        return QAccessibleWidget::text(t);
    }

    // Its children stay what they are for Qt's own combo box: the pop-up list, then the typing part.
    int childCount() const override { return typingPart() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && typingPart())
            return QAccessible::queryAccessibleInterface(typingPart());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (child->object() == combo()->view())
            return 0;
        return typingPart() && child->object() == typingPart() ? 1 : -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        s.editable = combo()->isEditable();
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            combo()->showPopup();
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(object()); }
    QLineEdit* typingPart() const { return combo()->isEditable() ? combo()->lineEdit() : nullptr; }
};

QAccessibleInterface* namedComboBoxes(const QString& className, QObject* object)
{
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        return new AccessibleComboBox(static_cast<QComboBox*>(object));
    return nullptr;
}

} // namespace

void UseNamedComboBoxes()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(namedComboBoxes);
        installed = true;
    }
}
