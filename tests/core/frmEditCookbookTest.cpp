#include "core/frmEditCookbook.h"

#include "core/frmCookbook.h"
#include "CookbookManagerSupport.h"
#include "SmallDisk.h"
#include "support/ScratchProgram.h"
#include "support/UiRecorder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

class EditCookbook : public ::testing::Test {
protected:
    QString cookbook(const QString& file) const { return program.path("data/cookbooks/" + file); }
    QStringList cookbookFiles() const { return QDir(program.path("data/cookbooks")).entryList(QDir::Files); }

    ScratchProgram program;
    UiRecorder recorder;
};

TEST_F(EditCookbook, CreateMakesTheFileWithItsIdentifierRow)
{
    frmEditCookbook dlg;
    dlg.show();
    dlg.txtName->setText("Family");
    dlg.txtDescription->setPlainText("Our ##favourites\nline two");
    dlg.cmdOk_Click();

    EXPECT_EQ(dlg.sFile, cookbook("Family.tqc"));
    db::Connection cn;
    cn.open(cookbook("Family.tqc"));
    db::Query rows(cn, "SELECT NAME, DESCRIPTION FROM IDENTIFIER");
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.text("NAME"), "Family");
    EXPECT_EQ(rows.text("DESCRIPTION"), "Our ##favourites\r\nline two");
    EXPECT_FALSE(rows.next());

    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].text, "Cookbook Created Successfully");
    EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Information);
    EXPECT_EQ(recorder.boxes[0].title, "Tovalquendry");
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(basDatabase::sCurrentCookbook, "");
}

TEST_F(EditCookbook, RefusesNamesThatCannotBeANewCookbookFile)
{
    MakeCookbook("Family.tqc", "Family", "kept");
    const QByteArray family = readBytes(cookbook("Family.tqc"));
    const QString invalid = "The cookbook name may not be \".\" or \"..\" nor hold \"/\", \"\\\" or control characters.";
    const struct {
        QString name;
        QString message;
    } cases[] = {
        {"", "Please enter a name for the cookbook."},
        {"   ", "Please enter a name for the cookbook."},
        {QString(51, 'n'), "The cookbook name may be at most 50 characters long."},
        {"a/b", invalid},
        {"a\\b", invalid},
        {"tab\there", invalid},
        {".", invalid},
        {"..", invalid},
        {"FAMILY", "A cookbook named FAMILY exists already."},
    };
    for (const auto& c : cases) {
        recorder.boxes.clear();
        frmEditCookbook dlg;
        dlg.show();
        dlg.txtName->setText(c.name);
        dlg.txtDescription->setPlainText("typed");
        dlg.cmdOk_Click();
        ASSERT_EQ(recorder.boxes.size(), 1) << c.name.toStdString();
        EXPECT_EQ(recorder.boxes[0].text, c.message) << c.name.toStdString();
        EXPECT_EQ(recorder.boxes[0].icon, ui::Icon::Exclamation);
        EXPECT_TRUE(dlg.isVisible()) << c.name.toStdString();
        EXPECT_EQ(dlg.txtName->text(), c.name);
        EXPECT_EQ(dlg.txtDescription->toPlainText(), "typed");
    }
    EXPECT_EQ(cookbookFiles(), QStringList{"Family.tqc"});
    EXPECT_EQ(readBytes(cookbook("Family.tqc")), family) << "an existing cookbook is never written into";

    frmEditCookbook longest;
    longest.txtName->setText(QString(50, 'n'));
    longest.cmdOk_Click();
    EXPECT_EQ(frmCookbook::GetCookbookInfo(cookbook(QString(50, 'n') + ".tqc")).name, QString(50, 'n'));
}

TEST_F(EditCookbook, EditWritesOnlyTheFirstIdentifierRow)
{
    MakeCookbook("Empty.tqc", QVariant(), {}, 3);
    MakeCookbook("Two.tqc", "First", "one", 2);
    {
        db::Connection cn;
        cn.open(cookbook("Two.tqc"));
        db::Query(cn, "INSERT INTO IDENTIFIER (NAME, DESCRIPTION) VALUES ('Second', 'two')").exec();
    }

    for (const QString& file : {QString("Empty.tqc"), QString("Two.tqc")}) {
        frmEditCookbook dlg;
        dlg.bEdit = true;
        dlg.sFile = cookbook(file);
        dlg.txtName->setText("Renamed");
        dlg.txtDescription->setPlainText("It's ## new");
        dlg.cmdOk_Click();
        const CookbookInfo info = frmCookbook::GetCookbookInfo(cookbook(file));
        EXPECT_EQ(info.name, "Renamed") << file.toStdString();
        EXPECT_EQ(info.description, "It's ## new");
    }
    EXPECT_EQ(frmCookbook::GetCookbookInfo(cookbook("Empty.tqc")).count, 3);
    EXPECT_EQ(frmCookbook::GetCookbookInfo(cookbook("Two.tqc")).count, 2);
    db::Connection cn;
    cn.open(cookbook("Two.tqc"));
    db::Query second(cn, "SELECT NAME FROM IDENTIFIER WHERE ID=2");
    ASSERT_TRUE(second.next());
    EXPECT_EQ(second.text("NAME"), "Second");
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[1].text, "Cookbook Edited Successfully");
}

TEST_F(EditCookbook, FailuresAreReportedAndTheDialogKeepsTheText)
{
    // Editing a file that is gone: reported, nothing created.
    frmEditCookbook edit;
    edit.show();
    edit.bEdit = true;
    edit.sFile = cookbook("Gone.tqc");
    edit.txtName->setText("Gone");
    edit.cmdOk_Click();
    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_TRUE(recorder.boxes[0].text.endsWith("occurred in module cmdOk_Click"));
    EXPECT_TRUE(edit.isVisible());
    EXPECT_EQ(edit.txtName->text(), "Gone");
    EXPECT_TRUE(cookbookFiles().isEmpty());

    // Creating where the file cannot be made: the creation's own box, then ours; OK works once fixed.
    recorder.boxes.clear();
    QDir(program.path("data/cookbooks")).removeRecursively();
    frmEditCookbook create;
    create.show();
    create.txtName->setText("Family");
    create.cmdOk_Click();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].title, "Code Gen Error");
    EXPECT_EQ(recorder.boxes[1].text, "The cookbook Family could not be created.");
    EXPECT_TRUE(create.isVisible());

    QDir().mkpath(program.path("data/cookbooks"));
    create.cmdOk_Click();
    EXPECT_FALSE(create.isVisible());
    EXPECT_EQ(frmCookbook::GetCookbookInfo(cookbook("Family.tqc")).name, "Family");
}

TEST_F(EditCookbook, AFileThatTookTheNameMeanwhileIsNeverWrittenOrDeleted)
{
    // A link that leads nowhere passes the name check, as a file made a moment later would; the
    // creation must not follow it and make a cookbook where it points.
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("Family.tqc");
    ASSERT_TRUE(QFile::link(target, cookbook("Family.tqc")));

    frmEditCookbook dlg;
    dlg.show();
    dlg.txtName->setText("Family");
    recorder.answers << ui::Answer::Abort;
    dlg.cmdOk_Click();
    ASSERT_EQ(recorder.boxes.size(), 2);
    EXPECT_EQ(recorder.boxes[0].title, "Code Gen Error");
    EXPECT_EQ(recorder.boxes[1].text, "The cookbook Family could not be created.");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(QFileInfo(cookbook("Family.tqc")).symLinkTarget(), target) << "the link is left alone";

    // CreateCookbook itself answers whether it made the file.
    EXPECT_FALSE(basDatabase::CreateCookbook("Family.tqc"));
    EXPECT_TRUE(basDatabase::CreateCookbook("Garden.tqc"));
}

TEST_F(EditCookbook, CancelWritesNothing)
{
    frmEditCookbook dlg;
    dlg.show();
    dlg.txtName->setText("Family");
    dlg.cmdCancel_Click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(cookbookFiles().isEmpty());
    EXPECT_TRUE(recorder.boxes.isEmpty());
}

// Create New on a full disk: the fault is shown once, in the box that offers to retry, and recorded once;
// no half-made file stays behind and the dialog keeps what was typed.
TEST_F(EditCookbook, CreateOnAFullDiskGivesOneBoxOneRecordAndNoFile)
{
    SmallDisk disk(program.path("data/cookbooks"), 64);
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason.toStdString();
    disk.fill();
    frmEditCookbook dlg;
    dlg.show();
    dlg.txtName->setText("Garden");
    dlg.txtDescription->setPlainText("Vegetables");
    recorder.answers.enqueue(ui::Answer::Abort);
    dlg.cmdOk_Click();

    ASSERT_EQ(recorder.boxes.size(), 1);
    EXPECT_EQ(recorder.boxes[0].title, "Code Gen Error");
    EXPECT_TRUE(recorder.boxes[0].text.contains("Disk full")) << recorder.boxes[0].text.toStdString();
    EXPECT_EQ(program.errorLog().count("Disk full"), 1) << program.errorLog().toStdString();
    EXPECT_FALSE(QFileInfo::exists(cookbook("Garden.tqc")));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.txtName->text(), "Garden");
}

} // namespace
