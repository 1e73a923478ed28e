// Every text box, combo box and list of the program's dialogs is named by its label (its accessible name,
// which screen readers and the accessibility bus read).
#include "BrowserFixture.h"
#include "browser/frmMealMaker.h"
#include "browser/frmOptions.h"
#include "browser/frmSearch.h"
#include "browser/frmView.h"
#include "browser/frmconverters.h"
#include "core/frmEditCookbook.h"
#include "editor/frmAddRecipe.h"
#include "editor/frmEditCats.h"
#include "editor/frmWineAdd.h"
#include "exchange/frmAddressBook.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <memory>

namespace {

class AccessibleNames : public BrowserTest {};

// The boxes of the window the user fills in or chooses from that have no name.
QStringList unnamed(QWidget& window)
{
    QStringList out;
    QList<QWidget*> boxes;
    for (QLineEdit* box : window.findChildren<QLineEdit*>())
        if (!box->isReadOnly())
            boxes << box;
    for (QComboBox* box : window.findChildren<QComboBox*>())
        boxes << box;
    for (QAbstractItemView* list : window.findChildren<QAbstractItemView*>())
        if (!qobject_cast<QHeaderView*>(list) && list->parent()->metaObject()->className() != QString("QComboBoxPrivateContainer"))
            boxes << list;
    for (QWidget* box : boxes) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
        if (!accessible || accessible->text(QAccessible::Name).isEmpty())
            out << box->objectName() + " (" + box->metaObject()->className() + ")";
    }
    return out;
}

TEST_F(AccessibleNames, EveryBoxOfTheDialogsIsNamedByItsLabel)
{
    program.createCookbook("Family");
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> dialogs[] = {
        {"wine list", [] { return std::make_unique<frmWineAdd>(); }},
        {"preferences", [] { return std::make_unique<frmOptions>(); }},
        {"address book", [] { return std::make_unique<frmAddressBook>(); }},
        {"edit cookbook", [] { return std::make_unique<frmEditCookbook>(); }},
        {"categories", [] { return std::make_unique<frmEditCats>(); }},
        {"filter", [] { auto d = std::make_unique<frmView>(); d->Form_Load(); return std::unique_ptr<QWidget>(std::move(d)); }},
        {"converters", [] { return std::make_unique<frmconverters>(); }},
        {"what can I make", [] { return std::make_unique<frmMealMaker>(); }},
        {"search", [] { return std::make_unique<frmSearch>(); }},
        {"recipe editor", [] { auto e = std::make_unique<frmAddRecipe>(); e->Form_Load(); return std::unique_ptr<QWidget>(std::move(e)); }},
    };
    for (const auto& [name, open] : dialogs) {
        SCOPED_TRACE(name);
        std::unique_ptr<QWidget> dialog = open();
        dialog->show();
        EXPECT_EQ(unnamed(*dialog), QStringList());
    }
}

} // namespace
