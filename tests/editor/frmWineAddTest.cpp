#include "editor/frmWineAdd.h"

#include "core/DE.h"
#include "core/MainWindow.h"
#include "core/RecipeListItems.h"
#include "core/basMain.h"
#include "support/ScratchProgram.h"
#include "support/SecondProcess.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class WineList : public ::testing::Test {
protected:
    WineList()
    {
        DE.cn.exec("DELETE FROM ORIGIN;"
                   "INSERT INTO ORIGIN (ID, ORIGIN) VALUES (1, 'France'), (2, 'Italy'), (3, 'Cote d''Ivoire');");
    }

    // Inserts a wine with the columns as given (Null where a value is invalid); returns its index.
    static qint64 addWine(const QVariant& name, const QVariant& year, const QVariant& type, const QVariant& colour,
                          const QVariant& country, const QVariant& vineyard, const QVariant& comments)
    {
        db::Query(DE.cn,
                  "INSERT INTO WINES (\"WINE NAME\", YEAR, TYPE, COLOUR, COUNTRY, VINEYARD, COMMENTS) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                  {name, year, type, colour, country, vineyard, comments})
            .exec();
        return DE.cn.lastInsertId();
    }

    static QStringList row(const QTreeWidgetItem* item)
    {
        QStringList out;
        for (int i = 0; i < item->treeWidget()->columnCount(); ++i)
            out << item->text(i);
        return out;
    }

    static QStringList stored(qint64 index)
    {
        db::Query q(DE.cn, "SELECT * FROM WINES WHERE \"WINE INDEX\"=?1", {index});
        if (!q.next())
            return {};
        QStringList out;
        for (const char* c : {"WINE NAME", "YEAR", "TYPE", "COLOUR", "COUNTRY", "VINEYARD", "COMMENTS"})
            out << (q.isNull(c) ? "<null>" : q.text(c));
        return out;
    }

    static QTreeWidgetItem* item(frmWineAdd& dlg, const QString& name)
    {
        for (int i = 0; i < dlg.lstvWines->topLevelItemCount(); ++i)
            if (dlg.lstvWines->topLevelItem(i)->text(0) == name)
                return dlg.lstvWines->topLevelItem(i);
        return nullptr;
    }

    // Clicks the wine in the list.
    static void load(frmWineAdd& dlg, const QString& name)
    {
        QTreeWidgetItem* it = item(dlg, name);
        ASSERT_NE(it, nullptr) << name.toStdString();
        dlg.lstvWines->setCurrentItem(it);
        dlg.lstvWines_Click();
    }

    static QStringList boxes(const frmWineAdd& dlg)
    {
        return {dlg.txtWineName->text(), dlg.txtYear->text(),     dlg.txtType->text(),
                dlg.txtColour->text(),   dlg.cmbCountry->currentText(), dlg.txtVineyard->text(),
                dlg.txtComments->text()};
    }

    ScratchProgram program;
    UiRecorder recorder;
};

TEST_F(WineList, ListsWinesByNameWithCountryNamesAndEmptyNullCells)
{
    const qint64 rioja = addWine("Rioja", QVariant(), "Red", QVariant(), "2", "Bodega", QVariant());
    addWine("Chablis", "2019", "White", "Gold", "1", QVariant(), "Crisp, it's dry");
    addWine("Bordeaux", "2015", "Red", "Ruby", QVariant(), "Chateau", "");

    frmWineAdd dlg;
    QStringList headers;
    for (int i = 0; i < dlg.lstvWines->columnCount(); ++i)
        headers << dlg.lstvWines->headerItem()->text(i);
    EXPECT_EQ(headers, (QStringList{"Name", "Year", "Type", "Colour", "Country", "Vineyard", "Comments"}));
    ASSERT_EQ(dlg.lstvWines->topLevelItemCount(), 3);
    EXPECT_EQ(row(dlg.lstvWines->topLevelItem(0)),
              (QStringList{"Bordeaux", "2015", "Red", "Ruby", "", "Chateau", ""}));
    EXPECT_EQ(row(dlg.lstvWines->topLevelItem(1)),
              (QStringList{"Chablis", "2019", "White", "Gold", "France", "", "Crisp, it's dry"}));
    EXPECT_EQ(row(dlg.lstvWines->topLevelItem(2)), (QStringList{"Rioja", "", "Red", "", "Italy", "Bodega", ""}));
    EXPECT_EQ(recipelist::itemKey(dlg.lstvWines->topLevelItem(2)), "W" + QString::number(rioja));

    ASSERT_EQ(dlg.cmbCountry->count(), 3);
    EXPECT_EQ(dlg.cmbCountry->itemText(0), "Cote d'Ivoire") << "countries in dictionary order";
    EXPECT_EQ(dlg.cmbCountry->itemData(0).toLongLong(), 3);
    EXPECT_EQ(dlg.cmbCountry->currentIndex(), -1);
    EXPECT_FALSE(dlg.cmdSelect->isVisibleTo(&dlg));
    EXPECT_EQ(program.errorLog(), "");
}

TEST_F(WineList, LoadingOneWineAfterAnotherLeavesNothingOfTheFirst)
{
    addWine("Chablis", "2019", "White", "Gold", "1", "Domaine", "Crisp");
    addWine("Rioja", QVariant(), "Red", QVariant(), QVariant(), QVariant(), QVariant());
    frmWineAdd dlg;

    load(dlg, "Chablis");
    EXPECT_EQ(boxes(dlg), (QStringList{"Chablis", "2019", "White", "Gold", "France", "Domaine", "Crisp"}));
    EXPECT_EQ(dlg.cmdAdd->text(), "Update");
    EXPECT_FALSE(dlg.sIndex.isEmpty());

    load(dlg, "Rioja");
    EXPECT_EQ(boxes(dlg), (QStringList{"Rioja", "", "Red", "", "", "", ""}));
    EXPECT_EQ(dlg.cmbCountry->currentIndex(), -1);
    EXPECT_EQ(program.errorLog(), "") << "a wine without a country loads like any other";
}

TEST_F(WineList, AddUpdateAndClearStoreTextAsTyped)
{
    frmWineAdd dlg;
    dlg.cmdAdd_Click(); // nothing typed: nothing stored, nothing said
    EXPECT_EQ(scalar(DE.cn, "SELECT COUNT(*) FROM WINES"), 0);

    dlg.txtWineName->setText("Chateau l'Eglise");
    dlg.txtYear->setText("2010");
    dlg.cmbCountry->setCurrentIndex(dlg.cmbCountry->findText("Cote d'Ivoire"));
    dlg.txtComments->setText("Mum's favourite");
    dlg.cmdAdd_Click();
    const qint64 first = scalar(DE.cn, "SELECT MAX(\"WINE INDEX\") FROM WINES");
    EXPECT_EQ(stored(first), (QStringList{"Chateau l'Eglise", "2010", "", "", "3", "", "Mum's favourite"}));
    EXPECT_EQ(boxes(dlg), (QStringList{"", "", "", "", "", "", ""}));
    EXPECT_EQ(dlg.cmdAdd->text(), "Add");
    ASSERT_EQ(dlg.lstvWines->topLevelItemCount(), 1);
    EXPECT_EQ(row(dlg.lstvWines->topLevelItem(0))[4], "Cote d'Ivoire");

    // A loaded wine is updated in place, its country taken away.
    load(dlg, "Chateau l'Eglise");
    dlg.txtType->setText("Red");
    dlg.cmbCountry->setCurrentIndex(-1);
    dlg.cmdAdd_Click();
    EXPECT_EQ(stored(first), (QStringList{"Chateau l'Eglise", "2010", "Red", "", "<null>", "", "Mum's favourite"}));
    EXPECT_EQ(scalar(DE.cn, "SELECT COUNT(*) FROM WINES"), 1);

    // After Clear a loaded wine is no longer the target: Add inserts a new row.
    load(dlg, "Chateau l'Eglise");
    dlg.cmdClear_Click();
    EXPECT_EQ(dlg.cmdAdd->text(), "Add");
    EXPECT_EQ(boxes(dlg), (QStringList{"", "", "", "", "", "", ""}));
    dlg.txtWineName->setText("Barolo");
    dlg.cmbCountry->setCurrentIndex(1);
    dlg.cmdAdd_Click();
    EXPECT_EQ(scalar(DE.cn, "SELECT COUNT(*) FROM WINES"), 2);
    EXPECT_EQ(stored(first)[0], "Chateau l'Eglise");
    EXPECT_EQ(program.errorLog(), "");
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

TEST_F(WineList, DeleteAsksByNameAndRemovesOnlyThatWine)
{
    const qint64 keep = addWine("Chablis", "", "", "", "1", "", "");
    const qint64 gone = addWine("Rioja", "", "", "", "2", "", "");
    frmWineAdd dlg;

    dlg.cmdDelete_Click(); // nothing selected
    EXPECT_TRUE(recorder.boxes.isEmpty());

    load(dlg, "Rioja");
    recorder.answers << ui::Answer::No << ui::Answer::Yes;
    dlg.cmdDelete_Click();
    EXPECT_FALSE(stored(gone).isEmpty());
    dlg.cmdDelete_Click();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].text, "Delete selected wine Rioja?");
    EXPECT_EQ(recorder.boxes[0].title, "Delete Confirmation");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Question);
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_TRUE(stored(gone).isEmpty());
    EXPECT_FALSE(stored(keep).isEmpty());
    EXPECT_EQ(dlg.lstvWines->topLevelItemCount(), 1);
    EXPECT_TRUE(dlg.sIndex.isEmpty());
    EXPECT_EQ(dlg.cmdAdd->text(), "Add");
}

TEST_F(WineList, AWineAnotherInstanceDeletedIsNeitherUpdatedNorDeletedSilently)
{
    const qint64 rioja = addWine("Rioja", "2015", "Red", "Red", "1", "", "");
    addWine("Barolo", "2016", "Red", "Red", "2", "", "");
    frmWineAdd dlg;
    load(dlg, "Rioja");
    ASSERT_TRUE(runInSecondInstance({"sql", DE.cn.path(), "DELETE FROM WINES WHERE \"WINE NAME\" IN ('Rioja', 'Barolo')"}));

    // Update of the deleted wine: told, the list shown as it is, the typed values kept for Add.
    dlg.txtYear->setText("2018");
    dlg.cmdAdd_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.startsWith("The wine \"Rioja\" is no longer in the list"))
        << recorder.boxes[0].text.toStdString();
    EXPECT_EQ(dlg.lstvWines->topLevelItemCount(), 0);
    EXPECT_EQ(boxes(dlg)[1], "2018");
    EXPECT_EQ(dlg.cmdAdd->text(), "Add");
    EXPECT_TRUE(stored(rioja).isEmpty());
    dlg.cmdAdd_Click();
    EXPECT_EQ(scalar(DE.cn, "SELECT COUNT(*) FROM WINES WHERE \"WINE NAME\"='Rioja' AND YEAR='2018'"), 1);

    // Delete of a wine the list still shows but the table no longer holds.
    frmWineAdd stale;
    ASSERT_TRUE(runInSecondInstance({"sql", DE.cn.path(), "DELETE FROM WINES"}));
    stale.lstvWines->setCurrentItem(item(stale, "Rioja"));
    recorder.boxes.clear();
    recorder.answers.enqueue(ui::Answer::Yes);
    stale.cmdDelete_Click();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[1].text, "The wine \"Rioja\" is no longer in the list: another window has deleted it.");
    EXPECT_EQ(stale.lstvWines->topLevelItemCount(), 0);
}

TEST_F(WineList, PickerModeLastsOneOpeningAndSelectHandsTheWineOver)
{
    const qint64 index = addWine("Chablis", "", "", "", "1", "", "");
    basMain::sSelectedWine = "earlier";
    basMain::bPickWine = true;
    {
        frmWineAdd dlg;
        dlg.show();
        EXPECT_TRUE(dlg.cmdSelect->isVisible());
        EXPECT_FALSE(basMain::bPickWine);
        dlg.cmdSelect_Click(); // nothing selected: stays open
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(basMain::sSelectedWine, "earlier");
        load(dlg, "Chablis");
        dlg.cmdSelect_Click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(basMain::sSelectedWine, "Chablis##W" + QString::number(index));
    }
    basMain::sSelectedWine = "earlier";
    {
        frmWineAdd dlg;
        dlg.show();
        EXPECT_FALSE(dlg.cmdSelect->isVisible());
        load(dlg, "Chablis");
        dlg.cmdClose_Click();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(basMain::sSelectedWine, "earlier");
    }
}

TEST_F(WineList, FailuresAreLoggedUnderTheirRoutineAndKeepTheBoxes)
{
    addWine("Chablis", "2019", "", "", "1", "", "");
    frmWineAdd dlg;
    load(dlg, "Chablis");
    const QString index = dlg.sIndex;
    dlg.txtYear->setText("2020");
    DE.cn.close();
    dlg.cmdAdd_Click();
    EXPECT_TRUE(program.errorLog().contains("CmdAdd sIndex=" + index)) << program.errorLog().toStdString();
    EXPECT_EQ(dlg.txtYear->text(), "2020");
    EXPECT_EQ(dlg.sIndex, index);
    EXPECT_EQ(dlg.lstvWines->topLevelItemCount(), 1);
}

} // namespace
