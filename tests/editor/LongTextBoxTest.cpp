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
