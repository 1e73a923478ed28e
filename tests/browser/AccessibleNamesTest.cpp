// Every control of every window that takes the focus has a name a screen reader can read (its label, or its
// purpose where it has none), and that name is not merely what the control holds ("-Any-", the typed text).
#include "BrowserFixture.h"
#include "browser/frmAbout.h"
#include "browser/frmMealMaker.h"
#include "browser/frmOptions.h"
#include "browser/frmSearch.h"
#include "browser/frmSplash.h"
#include "browser/frmView.h"
#include "browser/frmconverters.h"
#include "core/frmCookbook.h"
#include "core/frmEditCookbook.h"
#include "editor/frmAddRecipe.h"
#include "editor/frmDelete.h"
#include "editor/frmEditCats.h"
#include "editor/frmEditIngredients.h"
#include "editor/frmEditUOM.h"
#include "editor/frmExpand.h"
#include "editor/frmWineAdd.h"
#include "exchange/frmAddressBook.h"
#include "exchange/frmEmail.h"
#include "exchange/frmExport.h"
#include "exchange/frmImport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QDirIterator>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <memory>

namespace {

class AccessibleNames : public BrowserTest {};

// What the control holds: the entry shown, the text typed, the current row.
QString heldValue(QWidget* control)
{
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* box = qobject_cast<QLineEdit*>(control))
        return box->text();
    if (auto* list = qobject_cast<QAbstractItemView*>(control))
        return list->currentIndex().data().toString();
    if (auto* text = qobject_cast<QPlainTextEdit*>(control))
        return text->toPlainText();
    return {};
}

bool insideComboPopup(const QWidget* control)
{
    for (const QWidget* w = control; w; w = w->parentWidget())
        if (QString(w->metaObject()->className()) == "QComboBoxPrivateContainer")
            return true;
    return false;
}

// The controls of the window that take the focus and that a screen reader cannot tell apart: no name, or
// a name that is only the control's value.
QStringList unnamed(QWidget& window)
{
    QStringList out;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        // Every page counts, shown or not; a combo box's pop-up list is the combo box's own.
        if (control->focusPolicy() == Qt::NoFocus || control->focusProxy() || insideComboPopup(control))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
        const QString value = heldValue(control).trimmed();
        if (name.isEmpty() || (!value.isEmpty() && name == value))
            out << control->objectName() + " (" + control->metaObject()->className() + ", \"" + name + "\")";
    }
    return out;
}

template <class T>
std::unique_ptr<QWidget> loaded()
{
    auto window = std::make_unique<T>();
    window->Form_Load();
    return window;
}

template <class T>
std::unique_ptr<QWidget> made()
{
    return std::make_unique<T>();
}

// Every window class of the program, from its headers, so that a new window cannot be left out below.
QSet<QString> windowClassesInTheSources()
{
    QSet<QString> classes;
    const QRegularExpression declaration(R"(class (\w+) : public (QDialog|QMainWindow|ReferenceListEditor|QWidget)\b)");
    for (const char* folder : {"core", "browser", "editor", "exchange"}) {
        QDirIterator headers(QString(TQ_SOURCE_DIR) + "/" + folder, {"*.h"}, QDir::Files);
        while (headers.hasNext()) {
            QFile file(headers.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            auto matches = declaration.globalMatch(QString::fromUtf8(file.readAll()));
            while (matches.hasNext())
                classes << matches.next().captured(1);
        }
    }
    classes.remove("ReferenceListEditor"); // a base, shown through its three lists
    classes.remove("MainBanner");          // the main window's banner, inside it
    return classes;
}

TEST_F(AccessibleNames, EveryControlOfEveryWindowThatTakesTheFocusIsNamed)
{
    const QString cookbook = makeCookbook();
    auto main = openWindow(cookbook);
    basDatabase::OpenCookbook(cookbook);
    QPlainTextEdit instructions;
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {"frmMain", [&] { return std::unique_ptr<QWidget>(); }},
        {"frmCookbook", made<frmCookbook>},
        {"frmEditCookbook", made<frmEditCookbook>},
        {"frmAbout", made<frmAbout>},
        {"frmSplash", made<frmSplash>},
        {"frmconverters", made<frmconverters>},
        {"frmView", loaded<frmView>},
        {"frmMealMaker", made<frmMealMaker>},
        {"frmOptions", made<frmOptions>},
        {"frmSearch", loaded<frmSearch>},
        {"frmAddRecipe", loaded<frmAddRecipe>},
        {"frmExpand", [&] { return std::unique_ptr<QWidget>(std::make_unique<frmExpand>(&instructions)); }},
        {"frmWineAdd", made<frmWineAdd>},
        {"frmDelete", loaded<frmDelete>},
        {"frmEditCats", made<frmEditCats>},
        {"frmEditIngredients", made<frmEditIngredients>},
        {"frmEditUOM", made<frmEditUOM>},
        {"frmEmail", made<frmEmail>},
        {"frmAddressBook", made<frmAddressBook>},
        {"frmExport", made<frmExport>},
        {"frmImport", made<frmImport>},
    };
    QSet<QString> swept;
    for (const auto& [name, open] : windows) {
        SCOPED_TRACE(name);
        std::unique_ptr<QWidget> window = open();
        QWidget* shown = window ? window.get() : main.get();
        shown->show();
        EXPECT_EQ(unnamed(*shown), QStringList());
        swept << name;
        if (window)
            window->hide();
    }
    const QSet<QString> missing = windowClassesInTheSources() - swept;
    EXPECT_TRUE(missing.isEmpty()) << "windows left out of the sweep: " << QStringList(missing.values()).join(", ").toStdString();

    // The main window's two lists are told apart by name.
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(main->tvRecipes());
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(main->lstVRecipes()->view());
    EXPECT_NE(tree->text(QAccessible::Name), list->text(QAccessible::Name));
}

} // namespace
