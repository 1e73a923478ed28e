// A recipe with a very long run without a blank (a pasted link, a file without spaces) opens in the editor
// whole, wrapped anywhere so that it shows at once; ordinary text still wraps at words.
#include "EditorFixture.h"

#include "editor/frmExpand.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>

using LongTextBox = EditorTest;

TEST_F(LongTextBox, ARunWithoutABlankOpensWholeAndWrapsAnywhere)
{
    const QString run = QString::fromUtf8("Żurek,śledź;łosoś-").repeated(1 << 20 >> 4).left(1 << 20);
    const QString ordinary = QString::fromUtf8("Faire revenir les oignons, puis mouiller au bouillon.\r\n").repeated(50);
    db::Query(basDatabase::cnCookbook,
              "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) VALUES "
              "('Long', '', 'Soups', '1 l water', ?1), ('Soupe', '', 'Soups', '1 l eau', ?2)",
              {run, ordinary})
        .exec();

    auto editor = openEditor(idOf("Long"));
    EXPECT_EQ(editor->rtb->toPlainText(), run);
    EXPECT_EQ(editor->rtb->wordWrapMode(), QTextOption::WrapAnywhere);

    // The larger editing window takes the same text the same way, and gives it back unchanged.
    {
        frmExpand expand(editor->rtb);
        EXPECT_EQ(expand.rtbText->wordWrapMode(), QTextOption::WrapAnywhere);
        EXPECT_EQ(expand.rtbText->toPlainText(), run);
    }
    EXPECT_EQ(editor->rtb->toPlainText(), run);

    // So does the clipboard pane.
    QApplication::clipboard()->setText(run);
    editor->cmdResetClipboard_Click();
    EXPECT_EQ(editor->rtbClip->wordWrapMode(), QTextOption::WrapAnywhere);
    editor->close();

    auto other = openEditor(idOf("Soupe"));
    EXPECT_EQ(other->rtb->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(other->rtb->toPlainText().count("mouiller au bouillon"), 50);
}

// Megabytes of lines are split into the box's lines aside: the box holds the whole text as stored, with
// nothing to undo, and hands it on to the larger window and back unchanged.
TEST_F(LongTextBox, MegabytesOfLinesOpenWholeWithNothingToUndo)
{
    const QString line = QString::fromUtf8("Beat the butter and sugar until pale, then fold in the flour.");
    const QString stored = (line + "\r\n").repeated(40000) + line + "\r" + line + "\n" + line;
    const QString shown = (line + "\n").repeated(40000) + line + "\n" + line + "\n" + line;
    db::Query(basDatabase::cnCookbook,
              "INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) VALUES "
              "('Lines', '', 'Cakes', '1 cup flour', ?1)",
              {stored})
        .exec();

    auto editor = openEditor(idOf("Lines"));
    EXPECT_EQ(editor->rtb->toPlainText(), shown);
    EXPECT_EQ(editor->rtb->document()->blockCount(), 40003);
    EXPECT_FALSE(editor->rtb->document()->isUndoAvailable());
    EXPECT_FALSE(editor->rtb->document()->isModified());
    EXPECT_EQ(editor->rtb->document()->defaultFont(), editor->rtb->font());
    {
        frmExpand expand(editor->rtb);
        EXPECT_EQ(expand.rtbText->toPlainText(), shown);
        expand.rtbText->appendPlainText("Bake.");
        expand.cmdOk_Click();
    }
    EXPECT_EQ(editor->rtb->toPlainText(), shown + "\nBake.");
    editor->rtb->appendPlainText("Serve.");
    EXPECT_TRUE(editor->rtb->toPlainText().endsWith("Bake.\nServe."));
}
