// How the dialogs look: no two controls touch, and page buttons show which page is open.
#include "BrowserFixture.h"

#include "browser/frmAbout.h"
#include "browser/frmMealMaker.h"
#include "browser/frmOptions.h"
#include "browser/frmSearch.h"
#include "browser/frmView.h"
#include "browser/frmconverters.h"
#include "core/frmCookbook.h"
#include "core/frmEditCookbook.h"
#include "editor/frmAddRecipe.h"
#include "editor/frmDelete.h"
#include "editor/frmEditCats.h"
#include "editor/frmWineAdd.h"
#include "exchange/frmAddressBook.h"
#include "exchange/frmEmail.h"
#include "exchange/frmExport.h"
#include "exchange/frmImport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextEdit>

namespace {

// The controls a user reads or presses, as they stand on the dialog. The banner across the top is left out:
// it is meant to run edge to edge.
QList<QWidget*> shownControls(QWidget* dialog)
{
    QList<QWidget*> controls;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w)
                             || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)
                             || qobject_cast<QTextEdit*>(w) || qobject_cast<QAbstractItemView*>(w)
                             || qobject_cast<QAbstractSpinBox*>(w);
        if (!control || !w->isVisibleTo(dialog) || w->width() <= 0 || w->height() <= 0)
            continue;
        if (w->objectName() == "lblInfo" || w->objectName() == "imgBanner")
            continue;
        // Parts of another control (a combo box's edit, a spin box's buttons) belong to it.
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != dialog; p = p->parentWidget())
            if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QAbstractItemView*>(p)
                || qobject_cast<QTextEdit*>(p))
                inner = true;
        if (!inner)
            controls << w;
    }
    return controls;
}

QString describe(const QWidget* w)
{
    return QString("%1 %2").arg(w->metaObject()->className(), w->objectName().isEmpty() ? w->property("text").toString() : w->objectName());
}

void expectNothingTouches(QWidget* dialog, const char* name)
{
    dialog->show();
    QApplication::processEvents();
    const QList<QWidget*> controls = shownControls(dialog);
    for (int i = 0; i < controls.size(); ++i) {
        const QRect a(controls[i]->mapTo(dialog, QPoint()), controls[i]->size());
        for (int j = i + 1; j < controls.size(); ++j) {
            const QRect b(controls[j]->mapTo(dialog, QPoint()), controls[j]->size());
            // Touching means sharing an edge, or overlapping.
            EXPECT_FALSE(a.adjusted(-1, -1, 1, 1).intersects(b))
                << name << ": " << qPrintable(describe(controls[i])) << " touches " << qPrintable(describe(controls[j]));
        }
    }
    dialog->close();
}

} // namespace

using DialogLook = BrowserTest;

TEST_F(DialogLook, NoTwoControlsOfADialogTouch)
{
    expectNothingTouches(std::make_unique<frmImport>().get(), "Import");
    expectNothingTouches(std::make_unique<frmExport>().get(), "Export");
    expectNothingTouches(std::make_unique<frmEmail>().get(), "E-mail");
    expectNothingTouches(std::make_unique<frmAddressBook>().get(), "Contact Manager");
    expectNothingTouches(std::make_unique<frmOptions>().get(), "Preferences");
    expectNothingTouches(std::make_unique<frmconverters>().get(), "Converters");
    expectNothingTouches(std::make_unique<frmCookbook>().get(), "Cookbook Manager");
    expectNothingTouches(std::make_unique<frmEditCookbook>().get(), "Edit Cookbook");
    expectNothingTouches(std::make_unique<frmDelete>().get(), "Delete");
    expectNothingTouches(std::make_unique<frmSearch>().get(), "Search");
    expectNothingTouches(std::make_unique<frmMealMaker>().get(), "What can I make");
    expectNothingTouches(std::make_unique<frmView>().get(), "View");
    expectNothingTouches(std::make_unique<frmWineAdd>().get(), "Wine");
    expectNothingTouches(std::make_unique<frmEditCats>().get(), "Categories");
    expectNothingTouches(std::make_unique<frmAbout>().get(), "About");
    expectNothingTouches(std::make_unique<frmAddRecipe>().get(), "Recipe editor");
}

namespace {

// Which of a dialog's page buttons are down, as "100".
QString buttonsDown(QWidget* dialog)
{
    QString down;
    for (int i = 0; i < 3; ++i)
        down += dialog->findChild<QPushButton*>(QString("cmdAction_%1").arg(i))->isChecked() ? '1' : '0';
    return down;
}

void expectPageButtonsShowThePage(QDialog* dialog, const char* name)
{
    dialog->show();
    QApplication::processEvents();
    EXPECT_EQ(buttonsDown(dialog), "100") << name << " opens on its first page";
    for (int i : {2, 1, 1, 0}) {
        auto* button = dialog->findChild<QPushButton*>(QString("cmdAction_%1").arg(i));
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QString wanted = "000";
        wanted[i] = '1';
        EXPECT_EQ(buttonsDown(dialog), wanted) << name << " after pressing page " << i;
        EXPECT_EQ(dialog->findChild<QStackedWidget*>()->currentIndex(), i) << name;
    }
    dialog->close();
}

} // namespace

TEST_F(DialogLook, PageButtonsShowWhichPageIsOpen)
{
    expectPageButtonsShowThePage(std::make_unique<frmOptions>().get(), "Preferences");
    expectPageButtonsShowThePage(std::make_unique<frmconverters>().get(), "Converters");
}
