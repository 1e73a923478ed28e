#include "editor/frmEditCats.h"
#include "editor/frmEditIngredients.h"
#include "editor/frmEditUOM.h"

#include "core/DE.h"
#include "core/basDatabase.h"
#include "support/ScratchProgram.h"
#include "support/SecondProcess.h"
#include "support/StubMainWindow.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// What differs between the three editors, as a user and the error log see it.
struct Kind {
    std::function<std::unique_ptr<ReferenceListEditor>()> make;
    QString table, column, caption, header, listName, duplicate, question, addRoutine;
};

const Kind kKinds[] = {
    {[] { return std::make_unique<frmEditCats>(); }, "CATEGORY", "CATEGORY", "Edit Categories",
     "Add / Amend Categories", "lstCats", "This category already exists", "delete category ", "frmEditCats CmdAdd"},
    {[] { return std::make_unique<frmEditIngredients>(); }, "INGREDIENT", "INGREDIENT", "Edit Ingredients",
     "Add / Amend Ingredients", "lstIngs", "This ingredient already exists", "delete ingredient ",
     "frmEditIngredients CmdAdd"},
    {[] { return std::make_unique<frmEditUOM>(); }, "MEASURES", "MEASUREMENT", "Form1",
     "Add / Amend Units Of Measure", "lstUom", "This unit of measure already exists", "delete unit of measure ",
     "frmEditUnitsOfMeasure CmdAdd"},
};

void PrintTo(const Kind& kind, std::ostream* os) { *os << kind.listName.toStdString(); }

class RefreshCounter : public StubMainWindow {
public:
    void RefreshViews() override { ++refreshes; }
    int refreshes = 0;
};

class ReferenceListEditors : public ::testing::TestWithParam<Kind> {
protected:
    ReferenceListEditors()
    {
        const Kind& k = GetParam();
        DE.cn.exec(QString("DELETE FROM %1").arg(k.table));
        for (const char* name : {"pear", "Apple", "banana"})
            db::Query(DE.cn, QString("INSERT INTO %1 (%2) VALUES (?1)").arg(k.table, k.column), {name}).exec();
    }

    // The names in the table, in ID order.
    QStringList stored() const
    {
        const Kind& k = GetParam();
        QStringList out;
        db::Query q(DE.cn, QString("SELECT %1 FROM %2 ORDER BY ID").arg(k.column, k.table));
        while (q.next())
            out << q.text(k.column);
        return out;
    }

    static QStringList shown(const ReferenceListEditor& dlg)
    {
        QStringList out;
        for (int i = 0; i < dlg.list()->count(); ++i)
            out << dlg.list()->item(i)->text();
        return out;
    }

    static void select(ReferenceListEditor& dlg, const QString& name)
    {
        const auto found = dlg.list()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        dlg.list()->setCurrentItem(found.first());
    }

    ScratchProgram program;
    UiRecorder recorder;
    RefreshCounter mainWindow;
};

TEST_P(ReferenceListEditors, OpenWithTheListInNameOrderAndTheirOwnTexts)
{
    const Kind& k = GetParam();
    auto dlg = k.make();
    EXPECT_EQ(dlg->windowTitle(), k.caption);
    EXPECT_EQ(dlg->findChild<QLabel*>("lblInfo")->text(), k.header);
    EXPECT_EQ(dlg->list()->objectName(), k.listName);
    EXPECT_EQ(shown(*dlg), (QStringList{"Apple", "banana", "pear"}));
    // Each entry carries its row's ID.
    const qint64 bananaId =
        scalar(DE.cn, QString("SELECT ID FROM %1 WHERE %2='banana'").arg(k.table, k.column));
    EXPECT_EQ(dlg->list()->item(1)->data(ReferenceListEditor::IdRole).toLongLong(), bananaId);
}

TEST_P(ReferenceListEditors, AddStoresTheNameAsTypedAndRefusesAnExactDuplicate)
{
    const Kind& k = GetParam();
    auto dlg = k.make();

    dlg->cmdAdd_Click(); // empty box: nothing at all
    for (const QString& name : {QString("Cook's choice"), QString("apple"), QString("  ")}) {
        dlg->txtName->setText(name);
        dlg->cmdAdd_Click();
        EXPECT_EQ(dlg->txtName->text(), "") << name.toStdString();
    }
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_EQ(stored(), (QStringList{"pear", "Apple", "banana", "Cook's choice", "apple", "  "}));
    EXPECT_EQ(shown(*dlg).size(), 6);
    EXPECT_TRUE(shown(*dlg).contains("Cook's choice"));

    dlg->txtName->setText("Apple");
    dlg->cmdAdd_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, k.duplicate);
    EXPECT_EQ(recorder.boxes[0].title, "Oops");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Information);
    EXPECT_EQ(dlg->txtName->text(), "Apple");
    EXPECT_EQ(stored().size(), 6);

    // A selected name copied into the box and edited is added as a new entry; the old one stays.
    select(*dlg, "pear");
    dlg->txtName->setText(dlg->list()->currentItem()->text() + "s");
    dlg->cmdAdd_Click();
    EXPECT_TRUE(stored().contains("pear"));
    EXPECT_TRUE(stored().contains("pears"));
}

TEST_P(ReferenceListEditors, AnotherInstanceChangingTheTableMeanwhileIsSeen)
{
    const Kind& k = GetParam();
    auto dlg = k.make();
    // While this window is open, another instance of the program adds "Stews" and deletes "banana".
    ASSERT_TRUE(runInSecondInstance({"sql", DE.cn.path(),
                                     QString("INSERT INTO %1 (%2) VALUES ('Stews'); DELETE FROM %1 WHERE %2='banana'")
                                         .arg(k.table, k.column)}));

    dlg->txtName->setText("Stews");
    dlg->cmdAdd_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, k.duplicate);
    EXPECT_EQ(stored().count("Stews"), 1);
    EXPECT_EQ(dlg->txtName->text(), "Stews");
    EXPECT_EQ(shown(*dlg), (QStringList{"Apple", "pear", "Stews"})) << "the list shows the table again";

    // The window's copy of a deleted entry: Delete says it is gone and shows the list as it is.
    auto stale = k.make();
    ASSERT_TRUE(runInSecondInstance({"sql", DE.cn.path(), QString("DELETE FROM %1 WHERE %2='pear'").arg(k.table, k.column)}));
    select(*stale, "pear");
    recorder.boxes.clear();
    recorder.answers.enqueue(ui::Answer::Yes);
    stale->cmdDelete_Click();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[1].text, "\"pear\" is no longer in the list.");
    EXPECT_EQ(shown(*stale), (QStringList{"Apple", "Stews"}));
    EXPECT_EQ(stored(), (QStringList{"Apple", "Stews"}));
}

TEST_P(ReferenceListEditors, DeleteAsksFirstWithNoAsDefaultAndRemovesOnlyThatRow)
{
    const Kind& k = GetParam();
    auto dlg = k.make();

    dlg->cmdDelete_Click(); // nothing selected
    EXPECT_TRUE(recorder.boxes.isEmpty());

    select(*dlg, "banana");
    EXPECT_EQ(dlg->txtName->text(), "banana");
    recorder.answers << ui::Answer::No << ui::Answer::Yes;
    dlg->cmdDelete_Click();
    EXPECT_EQ(stored().size(), 3);
    dlg->cmdDelete_Click();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].text, k.question + "banana?");
    EXPECT_EQ(recorder.boxes[0].title, "Delete Confirmation");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Question);
    EXPECT_EQ(recorder.boxes[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder.boxes[0].defaultButton, ui::DefaultButton::Second);
    EXPECT_EQ(stored(), (QStringList{"pear", "Apple"}));
    EXPECT_EQ(shown(*dlg), (QStringList{"Apple", "pear"}));
    EXPECT_EQ(dlg->txtName->text(), "");
}

TEST_P(ReferenceListEditors, SelectCopiesTheNameAndClearEmptiesBoxAndSelection)
{
    auto dlg = GetParam().make();
    select(*dlg, "pear");
    dlg->list()->item(2)->setSelected(true);
    if (auto* cats = dynamic_cast<frmEditCats*>(dlg.get()))
        cats->lstCats_Click();
    else if (auto* ings = dynamic_cast<frmEditIngredients*>(dlg.get()))
        ings->lstIngs_Click();
    else
        static_cast<frmEditUOM*>(dlg.get())->lstUom_Click();
    EXPECT_EQ(dlg->txtName->text(), "pear");

    dlg->cmdClear_Click();
    EXPECT_EQ(dlg->txtName->text(), "");
    EXPECT_TRUE(dlg->list()->selectedItems().isEmpty());
    recorder.answers << ui::Answer::Yes;
    dlg->cmdDelete_Click();
    EXPECT_TRUE(recorder.boxes.isEmpty()) << "nothing is selected after Clear";
}

TEST_P(ReferenceListEditors, CloseRefreshesTheMainWindowOnlyWithACookbookOpen)
{
    {
        auto dlg = GetParam().make();
        dlg->show();
        dlg->cmdClose_Click();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(mainWindow.refreshes, 0);
    }
    program.createCookbook();
    {
        auto dlg = GetParam().make();
        dlg->show();
        dlg->close(); // the title bar's close box refreshes nothing
        EXPECT_EQ(mainWindow.refreshes, 0);
        dlg->show();
        dlg->cmdClose_Click();
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(mainWindow.refreshes, 1);
    }
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_EQ(program.errorLog(), "");
}

TEST_P(ReferenceListEditors, AFailingAddIsLoggedAndKeepsTheTypedName)
{
    const Kind& k = GetParam();
    auto dlg = k.make();
    dlg->txtName->setText("Figs");
    DE.cn.close();
    dlg->cmdAdd_Click();
    EXPECT_TRUE(program.errorLog().contains(k.addRoutine)) << program.errorLog().toStdString();
    EXPECT_EQ(dlg->txtName->text(), "Figs");
    EXPECT_EQ(shown(*dlg).size(), 3);
}

INSTANTIATE_TEST_SUITE_P(, ReferenceListEditors, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return info.param.listName.toStdString(); });

// A database that cannot be read: the category editor opens empty and says nothing; the other two raise
// the failure to the command that opens them.
TEST(ReferenceListEditorFailures, CategoryEditorPassesOverWhileTheOthersReport)
{
    ScratchProgram program;
    UiRecorder recorder;
    DE.cn.close();

    frmEditCats cats;
    EXPECT_EQ(cats.lstCats->count(), 0);
    cats.lstCats->addItem("stale");
    cats.lstCats->setCurrentRow(0);
    cats.cmdDelete_Click();
    EXPECT_EQ(cats.lstCats->count(), 0) << "the list is still rebuilt after the failed delete";
    EXPECT_EQ(program.errorLog(), "");

    EXPECT_THROW(frmEditIngredients{}, AppError);
    EXPECT_THROW(frmEditUOM{}, AppError);
}

} // namespace
