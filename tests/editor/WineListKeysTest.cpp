// The wine list from the keyboard: Enter never adds or updates a wine, the arrows load the wine they move
// to, and as a picker Select is the default button and first in the Tab order.
#include "editor/frmWineAdd.h"

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

    // Tab into the list makes its first row current; the arrows load the wine they move to.
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
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(dlg.txtWineName->text(), "Chablis");
    // The loaded wine edited, then Enter in a box: Select, not Update.
    ASSERT_TRUE(tabTo(dlg.txtYear));
    type("1999");
    press(Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(basMain::sSelectedWine.startsWith("Chablis##W"));
    EXPECT_EQ(wines(), (QStringList{"Barolo 2015", "Chablis 2019"}));
}

} // namespace
