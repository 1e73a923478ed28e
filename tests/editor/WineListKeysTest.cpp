// The wine list from the keyboard: Enter never adds or updates a wine, the arrows load the wine they move
// to (opening it or Tab into the list loads none), and as a picker Select is the default button and first
// in the Tab order; Select never drops a typed change silently.
#include "editor/frmWineAdd.h"

#include "browser/BrowserFixture.h"
#include "support/ModalAnswer.h"

#include "core/DE.h"
#include "core/basMain.h"
#include "support/Keyboard.h"
#include "support/ScratchProgram.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace keyboard;

namespace {

class WineListKeys : public ::testing::Test {
protected:
    WineListKeys()
    {
        DE.cn.exec("DELETE FROM ORIGIN; INSERT INTO ORIGIN (ID, ORIGIN) VALUES (1, 'France'), (2, 'Italy');"
                   "INSERT INTO WINES (\"WINE NAME\", YEAR, COUNTRY) VALUES ('Barolo', '2015', '2'), ('Chablis', '2019', '1');");
    }
    ~WineListKeys() override { basMain::bPickWine = false; }

    static QStringList wines()
    {
        QStringList out;
        db::Query q(DE.cn, "SELECT \"WINE NAME\", YEAR FROM WINES ORDER BY \"WINE INDEX\"");
        while (q.next())
            out << q.text("WINE NAME") + " " + q.text("YEAR");
        return out;
    }

    ScratchProgram program;
    UiRecorder recorder;
};

TEST_F(WineListKeys, EnterAddsOrUpdatesNothingAndTheArrowsLoadTheWine)
{
    frmWineAdd dlg;
    showActive(dlg);
    EXPECT_FALSE(dlg.cmdSelect->isVisible());
    EXPECT_EQ(focused(), dlg.lstvWines);
    EXPECT_EQ(dlg.lblFieldLabel[0]->buddy(), dlg.txtWineName);

    // The list has the focus and nothing loaded; the first Down loads the first wine.
    EXPECT_EQ(dlg.txtWineName->text(), "");
    press(Qt::Key_Down);
    EXPECT_EQ(dlg.txtWineName->text(), "Barolo");
    press(Qt::Key_Down);
    EXPECT_EQ(dlg.txtWineName->text(), "Chablis");
    press(Qt::Key_Up);
    EXPECT_EQ(dlg.txtWineName->text(), "Barolo");
    EXPECT_EQ(dlg.txtYear->text(), "2015");
    EXPECT_EQ(dlg.cmdAdd->text(), "Update");

    // A half-typed change and Enter: nothing is written.
    ASSERT_TRUE(tabTo(dlg.txtYear));
    type("2016");
    press(Qt::Key_Return);
    EXPECT_EQ(wines(), (QStringList{"Barolo 2015", "Chablis 2019"}));
    EXPECT_TRUE(dlg.isVisible());

    // Enter on the focused Update button is the user's Update.
    ASSERT_TRUE(tabTo(dlg.cmdAdd));
    press(Qt::Key_Return);
    EXPECT_EQ(wines(), (QStringList{"Barolo 2016", "Chablis 2019"}));

    // A new wine typed and Enter in its box: not added until Add is pressed.
    ASSERT_TRUE(tabTo(dlg.txtWineName));
    type("Rioja");
    press(Qt::Key_Enter);
    EXPECT_EQ(wines().size(), 2);
    ASSERT_TRUE(tabTo(dlg.cmdAdd));
    press(Qt::Key_Enter);
    EXPECT_EQ(wines(), (QStringList{"Barolo 2016", "Chablis 2019", "Rioja "}));
}

TEST_F(WineListKeys, AsAPickerSelectIsTheDefaultAndFirstInTheTabOrder)
{
    basMain::bPickWine = true;
    basMain::sSelectedWine.clear();
    frmWineAdd dlg;
    showActive(dlg);
    ASSERT_TRUE(dlg.cmdSelect->isVisible());
    EXPECT_TRUE(dlg.cmdSelect->isDefault());
    EXPECT_FALSE(dlg.cmdAdd->isDefault());
    EXPECT_EQ(focused(), dlg.cmdSelect);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), dlg.lstvWines);
    EXPECT_EQ(dlg.txtWineName->text(), "") << "Tab into the list loads no wine";
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(dlg.txtWineName->text(), "Chablis");
    // The loaded wine edited, then Enter in a box: Select, not Update; it asks about the typed change,
    // and Enter on that question keeps the dialog as it was.
    ASSERT_TRUE(tabTo(dlg.txtYear));
    type("1999");
    recorder.answers.enqueue(ui::Answer::Cancel);
    press(Qt::Key_Return);
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes.last().defaultButton, ui::DefaultButton::Third);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.txtYear->text(), "1999");
    EXPECT_EQ(wines(), (QStringList{"Barolo 2015", "Chablis 2019"}));
}

// Select with a typed change asks: Yes updates the wine first and picks it, No picks the stored wine.
TEST_F(WineListKeys, SelectWithAnUnsavedChangeAsksWhetherToKeepIt)
{
    for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
        basMain::bPickWine = true;
        basMain::sSelectedWine.clear();
        frmWineAdd dlg;
        showActive(dlg);
        ASSERT_TRUE(tabTo(dlg.lstvWines));
        press(Qt::Key_Down);
        ASSERT_EQ(dlg.txtWineName->text(), "Barolo");
        ASSERT_TRUE(tabTo(dlg.txtYear));
        type("2016");
        recorder.answers.enqueue(answer);
        ASSERT_TRUE(tabTo(dlg.cmdSelect));
        press(Qt::Key_Space);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_TRUE(basMain::sSelectedWine.startsWith("Barolo##W")) << basMain::sSelectedWine.toStdString();
        EXPECT_EQ(wines().first(), answer == ui::Answer::Yes ? "Barolo 2016" : "Barolo 2015");
    }
    // Without a change nothing is asked.
    basMain::bPickWine = true;
    frmWineAdd dlg;
    showActive(dlg);
    const qsizetype asked = recorder.boxes.size();
    ASSERT_TRUE(tabTo(dlg.lstvWines));
    press(Qt::Key_Down);
    dlg.cmdSelect_Click();
    EXPECT_EQ(recorder.boxes.size(), asked);
    EXPECT_FALSE(dlg.isVisible());
}

// Opened from the main window with its shortcut: no wine is loaded and the first button is "Add", so a
// new wine typed and added is a new row and every stored wine stays as it was; Delete asks about nothing.
class WineListFromMainWindow : public BrowserTest {};

TEST_F(WineListFromMainWindow, OpensWithNoWineLoadedAndAddsANewOne)
{
    DE.cn.exec("INSERT INTO WINES (\"WINE NAME\", YEAR) VALUES ('Chianti', '2018'), ('Barolo', '2015');");
    auto w = openWindow(makeCookbook());
    showActive(*w);
    ModalAnswer<frmWineAdd> answer([&](frmWineAdd& dlg) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        // The dialog's first focus arrives with its activation, which a busy machine may deliver late.
        EXPECT_TRUE(QTest::qWaitFor([&] { return focused() == dlg.lstvWines; }));
        EXPECT_EQ(dlg.cmdAdd->text(), "Add");
        EXPECT_EQ(dlg.txtWineName->text(), "");
        EXPECT_TRUE(dlg.lstvWines->selectedItems().isEmpty());
        dlg.cmdDelete_Click();
        EXPECT_TRUE(recorder.boxes.isEmpty()) << "Delete asked about a wine nobody picked";

        ASSERT_TRUE(tabTo(dlg.txtWineName));
        type("Merlot");
        ASSERT_TRUE(tabTo(dlg.cmdAdd));
        press(Qt::Key_Return);
        dlg.cmdClose_Click();
    });
    press(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    QStringList stored;
    db::Query q(DE.cn, "SELECT \"WINE NAME\" FROM WINES ORDER BY \"WINE INDEX\"");
    while (q.next())
        stored << q.text("WINE NAME");
    EXPECT_EQ(stored, (QStringList{"Chianti", "Barolo", "Merlot"}));
}

} // namespace
