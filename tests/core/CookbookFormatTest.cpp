// A new cookbook file: its tables as SQLite itself reports them, and the "Code Gen Error" box.
#include "core/basDatabase.h"
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace basDatabase;

namespace {

struct Column {
    QString name;
    QString type;
    bool required;
    QString defaultValue; // as PRAGMA table_info gives it, "" for none
    int maxLength;        // 0 for no limit
};

struct Table {
    QString name;
    std::vector<Column> columns;
    QStringList indexes; // "column" or "column unique"
};

const std::vector<Table>& expectedTables()
{
    static const std::vector<Table> tables = {
        {"Favourites",
         {{"ID", "INTEGER", true, "", 0}, {"RecipeID", "INTEGER", true, "0", 0}},
         {"RecipeID"}},
        {"Identifier",
         {{"Description", "TEXT", true, "", 0}, {"ID", "INTEGER", true, "", 0}, {"Name", "TEXT", true, "", 50}},
         {}},
        {"Ingredients",
         {{"Amount", "TEXT", true, "", 50},
          {"ID", "INTEGER", true, "", 0},
          {"Ingredient", "TEXT", true, "", 50},
          {"Measure", "TEXT", true, "", 50},
          {"Name", "TEXT", true, "", 50},
          {"PrepComment", "TEXT", true, "", 0},
          {"RecipeID", "INTEGER", true, "0", 0}},
         {"RecipeID"}},
        {"Recipes",
         {{"Author", "TEXT", true, "", 50},
          {"CaloriesPerServing", "TEXT", false, "", 255},
          {"Category", "TEXT", true, "", 0},
          {"CookTime", "TEXT", false, "", 50},
          {"Favourite", "INTEGER", true, "0", 0},
          {"ID", "INTEGER", true, "", 0},
          {"Ingredients", "TEXT", true, "", 0},
          {"Instructions", "TEXT", true, "", 0},
          {"Mark", "INTEGER", true, "0", 0},
          {"Origin", "TEXT", false, "", 50},
          {"PictureName", "TEXT", false, "", 255},
          {"PrepTime", "TEXT", false, "", 50},
          {"RecipePicture", "BLOB", false, "", 0},
          {"Title", "TEXT", true, "", 0},
          {"TotalTime", "TEXT", false, "", 50},
          {"Wine", "TEXT", false, "", 50},
          {"Yield", "TEXT", false, "", 50}},
         {"Mark", "Title unique"}},
    };
    return tables;
}

// Inserts a row holding a distinct text in every required text column; returns its ID.
qint64 insertMinimalRow(db::Connection& c, const Table& t)
{
    static int counter = 0;
    QStringList names, marks;
    for (const Column& col : t.columns)
        if (col.required && col.type == "TEXT") {
            names << col.name;
            marks << "'v" + QString::number(++counter) + "'";
        }
    if (names.isEmpty())
        c.exec("INSERT INTO " + t.name + " DEFAULT VALUES");
    else
        c.exec("INSERT INTO " + t.name + " (" + names.join(',') + ") VALUES (" + marks.join(',') + ")");
    return c.lastInsertId();
}

class CookbookFormatTest : public ::testing::Test {
protected:
    ScratchProgram program{false};
    UiRecorder recorder;
    QString cookbook(const QString& name) const { return program.path("data/cookbooks/" + name); }
};

TEST_F(CookbookFormatTest, NewCookbookHasTheFourTablesWithTheirColumnsAndIndexes)
{
    CreateCookbook("Family.tqc");
    ASSERT_TRUE(recorder.boxes.isEmpty());
    db::Connection c;
    c.open(cookbook("Family.tqc"));

    QStringList tables;
    for (db::Query q(c, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite%' ORDER BY rowid");
         q.next();)
        tables << q.text("name");
    EXPECT_EQ(tables, (QStringList{"Favourites", "Identifier", "Ingredients", "Recipes"}));

    for (const Table& t : expectedTables()) {
        SCOPED_TRACE(t.name.toStdString());
        db::Query info(c, "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?1) ORDER BY cid",
                       {t.name});
        for (const Column& col : t.columns) {
            SCOPED_TRACE(col.name.toStdString());
            ASSERT_TRUE(info.next());
            EXPECT_EQ(info.text("name"), col.name);
            EXPECT_EQ(info.text("type"), col.type);
            EXPECT_EQ(info.value("notnull").toInt() == 1, col.required);
            EXPECT_EQ(info.text("dflt_value"), col.defaultValue);
            EXPECT_EQ(info.value("pk").toInt() == 1, col.name == "ID");
        }
        EXPECT_FALSE(info.next()) << "more columns than expected";

        QStringList indexes;
        for (db::Query list(c, "SELECT name, \"unique\" FROM pragma_index_list(?1)", {t.name}); list.next();) {
            db::Query cols(c, "SELECT name FROM pragma_index_info(?1)", {list.text("name")});
            ASSERT_TRUE(cols.next());
            indexes << cols.text("name") + (list.value("unique").toInt() ? " unique" : "");
            EXPECT_FALSE(cols.next()) << "an index on more than one column";
        }
        indexes.sort();
        EXPECT_EQ(indexes, t.indexes);
        EXPECT_EQ(scalar(c, "SELECT count(*) FROM " + t.name), 0);
    }
    EXPECT_EQ(scalar(c, "SELECT count(*) FROM sqlite_master WHERE type='index' AND name='Recipe Name'"), 1);
}

TEST_F(CookbookFormatTest, ColumnsKeepTheirRules)
{
    CreateCookbook("Family.tqc");
    db::Connection c;
    c.open(cookbook("Family.tqc"));

    for (const Table& t : expectedTables()) {
        SCOPED_TRACE(t.name.toStdString());
        const qint64 id = insertMinimalRow(c, t);
        for (const Column& col : t.columns) {
            SCOPED_TRACE(col.name.toStdString());
            const QString where = " WHERE ID=" + QString::number(id);
            if (!col.defaultValue.isEmpty())
                EXPECT_EQ(scalar(c, "SELECT " + col.name + " FROM " + t.name + where), 0);
            if (col.required && col.name != "ID")
                EXPECT_THROW(c.exec("UPDATE " + t.name + " SET " + col.name + "=NULL" + where), AppError);
            if (!col.required)
                EXPECT_EQ(scalar(c, "SELECT " + col.name + " IS NULL FROM " + t.name + where), 1);
            if (col.type == "TEXT") {
                // text compares without regard to letter case
                c.exec("UPDATE " + t.name + " SET " + col.name + "='Crust'" + where);
                EXPECT_EQ(scalar(c, "SELECT count(*) FROM " + t.name + " WHERE " + col.name + "='CRUST'"), 1);
            }
            if (col.maxLength > 0) {
                const QString longest(col.maxLength, QChar(0xe9)); // characters, not bytes
                EXPECT_NO_THROW(db::Query(c, "UPDATE " + t.name + " SET " + col.name + "=?1" + where, {longest}).exec());
                EXPECT_THROW(
                    db::Query(c, "UPDATE " + t.name + " SET " + col.name + "=?1" + where, {longest + "x"}).exec(),
                    AppError);
            }
        }
    }
}

TEST_F(CookbookFormatTest, IdsAreNeverReused)
{
    CreateCookbook("Family.tqc");
    db::Connection c;
    c.open(cookbook("Family.tqc"));
    for (const Table& t : expectedTables()) {
        SCOPED_TRACE(t.name.toStdString());
        insertMinimalRow(c, t);
        const qint64 last = insertMinimalRow(c, t);
        c.exec("DELETE FROM " + t.name + " WHERE ID=" + QString::number(last));
        EXPECT_GT(insertMinimalRow(c, t), last);
    }

    // A favourite left behind by a deleted recipe does not point at the next recipe.
    c.exec("INSERT INTO Recipes (Title, Author, Category, Ingredients, Instructions) VALUES ('Pie','','','','')");
    const qint64 pie = c.lastInsertId();
    db::Query(c, "INSERT INTO Favourites (RecipeID) VALUES (?1)", {pie}).exec();
    c.exec("DELETE FROM Recipes WHERE Title='Pie'");
    c.exec("INSERT INTO Recipes (Title, Author, Category, Ingredients, Instructions) VALUES ('Tart','','','','')");
    EXPECT_EQ(scalar(c, "SELECT count(*) FROM Recipes r JOIN Favourites f ON f.RecipeID = r.ID"), 0);
}

TEST_F(CookbookFormatTest, RecipeRowsFollowTheValueConventions)
{
    CreateCookbook("Family.tqc");
    db::Connection c;
    c.open(cookbook("Family.tqc"));
    // What the editor's INSERT names: neither Mark nor Favourite.
    c.exec("INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
           "VALUES ('Mum$$s pie', 'Ann', 'Dessert,Cakes', 'flour', 'Bake.')");
    const qint64 id = c.lastInsertId();
    EXPECT_EQ(scalar(c, "SELECT count(*) FROM RECIPES WHERE MARK=1"), 0);
    EXPECT_EQ(scalar(c, "SELECT Favourite FROM RECIPES"), 0);

    c.exec("UPDATE RECIPES SET MARK=1");
    EXPECT_EQ(scalar(c, "SELECT ID FROM RECIPES WHERE MARK=1"), id);
    db::Query stored(c, "SELECT typeof(MARK) AS t, MARK FROM RECIPES");
    ASSERT_TRUE(stored.next());
    EXPECT_EQ(stored.text("t"), "integer");
    EXPECT_THROW(c.exec("UPDATE RECIPES SET MARK=-1"), AppError); // Yes/No holds 1 or 0 only

    // The title is unique whatever its letter case; a different title is welcome.
    EXPECT_THROW(c.exec("INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
                        "VALUES ('MUM$$S PIE', '', '', '', '')"),
                 AppError);
    EXPECT_NO_THROW(c.exec("INSERT INTO RECIPES (TITLE, AUTHOR, CATEGORY, INGREDIENTS, INSTRUCTIONS) "
                           "VALUES ('Mum$$s pies', '', '', '', '')"));
    EXPECT_EQ(scalar(c, "SELECT count(*) FROM RECIPES WHERE TITLE='mum$$s PIE'"), 1);
}

TEST_F(CookbookFormatTest, CookbooksFolderIsFoundWhateverItsLetterCase)
{
    QDir data(program.path("data"));
    ASSERT_TRUE(data.rename("cookbooks", "CookBooks"));
    CreateCookbook("Family.tqc");
    EXPECT_TRUE(recorder.boxes.isEmpty());
    EXPECT_TRUE(QFile::exists(program.path("data/CookBooks/Family.tqc")));
    EXPECT_FALSE(data.exists("cookbooks"));
}

// ---- the "Code Gen Error" box

TEST_F(CookbookFormatTest, AbortOnAnExistingFileLeavesItAsItWas)
{
    const QByteArray precious = "my own notes, not a cookbook";
    writeBytes(cookbook("Family.tqc"), precious);
    recorder.answers << ui::Answer::Abort;
    CreateCookbook("Family.tqc");

    ASSERT_EQ(recorder.boxes.size(), 1);
    const RecordedBox& box = recorder.boxes[0];
    EXPECT_EQ(box.title, "Code Gen Error");
    EXPECT_EQ(box.buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_EQ(box.icon, ui::Icon::Critical);
    EXPECT_TRUE(box.text.startsWith("    Error No. -")) << box.text.toStdString();
    const QStringList parts = box.text.split("\r\n");
    ASSERT_EQ(parts.size(), 2);
    EXPECT_TRUE(parts[0].endsWith(' ')) << "the number is followed by a blank";
    EXPECT_FALSE(parts[1].isEmpty()) << "the error's message follows the line break";
    EXPECT_EQ(readBytes(cookbook("Family.tqc")), precious);
}

TEST_F(CookbookFormatTest, IgnoreGoesOnWithEveryLaterStepWithoutTouchingTheFile)
{
    const QByteArray precious = "SQLite format 3? no, just text";
    writeBytes(cookbook("Family.tqc"), precious);
    for (int i = 0; i < 5; ++i)
        recorder.answers << ui::Answer::Ignore;
    CreateCookbook("Family.tqc");
    // The file step and then each of the four table steps fail.
    EXPECT_EQ(recorder.boxes.size(), 5);
    EXPECT_EQ(readBytes(cookbook("Family.tqc")), precious);
}

TEST_F(CookbookFormatTest, MissingFolderFailsAndMakesNothing)
{
    ASSERT_TRUE(QDir(program.path("data/cookbooks")).removeRecursively());
    recorder.answers << ui::Answer::Ignore << ui::Answer::Abort;
    CreateCookbook("Family.tqc");
    EXPECT_EQ(recorder.boxes.size(), 2);
    EXPECT_FALSE(QDir(program.path("data")).exists("cookbooks"));
}

// Removes the cause of the first box, then gives the scripted answer to it.
class FixingRecorder : public UiRecorder {
public:
    std::function<void()> fix;
    ui::Answer answer = ui::Answer::Retry;
    ui::Answer messageBox(const QString& text, ui::Buttons buttons, ui::Icon icon, const QString& title,
                          ui::DefaultButton defaultButton) override
    {
        if (fix) {
            std::exchange(fix, nullptr)();
            boxes.append({text, buttons, icon, title, defaultButton});
            return answer;
        }
        return UiRecorder::messageBox(text, buttons, icon, title, defaultButton);
    }
};

QStringList tablesOf(const QString& path)
{
    db::Connection c;
    c.open(path);
    QStringList tables;
    for (db::Query q(c, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite%' ORDER BY name");
         q.next();)
        tables << q.text("name");
    return tables;
}

TEST_F(CookbookFormatTest, RetryRepeatsTheFailedStep)
{
    FixingRecorder user;
    const QString path = cookbook("Family.tqc");
    writeBytes(path, {});
    user.fix = [&] { QFile::remove(path); };

    CreateCookbook("Family.tqc");
    EXPECT_EQ(user.boxes.size(), 1);
    EXPECT_EQ(tablesOf(path), (QStringList{"Favourites", "Identifier", "Ingredients", "Recipes"}));
}

TEST_F(CookbookFormatTest, FailedTableStepIsRetriedOrLeftOut)
{
    // A folder where the write journal belongs makes the first table step fail.
    const QString journal = cookbook("Family.tqc-journal");
    for (const ui::Answer answer : {ui::Answer::Retry, ui::Answer::Ignore}) {
        QFile::remove(cookbook("Family.tqc"));
        ASSERT_TRUE(QDir().mkpath(journal));
        FixingRecorder user;
        user.answer = answer;
        user.fix = [&] { QDir(journal).removeRecursively(); };

        CreateCookbook("Family.tqc");
        EXPECT_EQ(user.boxes.size(), 1);
        QStringList expected{"Favourites", "Identifier", "Ingredients", "Recipes"};
        if (answer == ui::Answer::Ignore)
            expected.removeFirst();
        EXPECT_EQ(tablesOf(cookbook("Family.tqc")), expected);
    }
}

} // namespace
