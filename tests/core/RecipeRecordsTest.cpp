// Single-row operations on the open cookbook: pictures, titles, marks and favourites.
#include "CookbookTestWindow.h"
#include "core/basDatabase.h"
#include "support/ListRows.h"
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"
#include "support/UiRecorder.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace basDatabase;

namespace {

QByteArray pictureBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xff); // every byte value, no repeating 1024 block
    return bytes;
}

class RecipeRecordsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.createCookbook("Family");
        pie = ScratchProgram::addRecipe("Apple Pie");
    }

    QString writeFile(const QString& relative, const QByteArray& bytes)
    {
        const QString path = program.path(relative);
        writeBytes(path, bytes);
        return path;
    }

    void storePicture(qint64 id, const QVariant& name, const QVariant& bytes)
    {
        db::Query(cnCookbook, "UPDATE RECIPES SET PICTURENAME=?1, RECIPEPICTURE=?2 WHERE ID=?3", {name, bytes, id})
            .exec();
    }

    ScratchProgram program{false};
    UiRecorder recorder;
    CookbookTestWindow window;
    qint64 pie = 0;
};

// ---- pictures

TEST_F(RecipeRecordsTest, PictureRoundTripsByteForByte)
{
    for (int size : {1, 452, 1024, 2048, 2500}) {
        SCOPED_TRACE(size);
        const QByteArray bytes = pictureBytes(size);
        SavePictureToRecipe(pie, writeFile("pictures/My Cake.jpeg", bytes));

        db::Query row(cnCookbook, "SELECT * FROM RECIPES WHERE ID=?1", {pie});
        ASSERT_TRUE(row.next());
        EXPECT_EQ(row.text("PICTURENAME"), "My Cake.jpeg");
        EXPECT_EQ(row.value("RECIPEPICTURE").toByteArray(), bytes);

        const QString out = program.path("temp");
        EXPECT_EQ(ExtractRecipePicture(pie, out, ""), out + "/My Cake.jpeg");
        EXPECT_EQ(readBytes(out + "/My Cake.jpeg"), bytes);
        EXPECT_EQ(ExtractPictureFromRecordset(row, out, "1"), out + "/1.jpeg");
        EXPECT_EQ(readBytes(out + "/1.jpeg"), bytes);
    }
}

TEST_F(RecipeRecordsTest, EmptyPictureFileStoresNothing)
{
    SavePictureToRecipe(pie, writeFile("cake.jpg", "JPEG"));
    SavePictureToRecipe(pie, writeFile("empty.png", ""));
    db::Query row(cnCookbook, "SELECT * FROM RECIPES WHERE ID=?1", {pie});
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.text("PICTURENAME"), "cake.jpg");
    EXPECT_EQ(row.value("RECIPEPICTURE").toByteArray(), QByteArray("JPEG"));
}

TEST_F(RecipeRecordsTest, SavingAPictureFailsLoudly)
{
    const QString picture = writeFile("cake.jpg", "JPEG");
    try {
        SavePictureToRecipe(pie, program.path("missing.jpg"));
        ADD_FAILURE() << "a missing file was taken";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, AppError::FileNotFound);
    }
    EXPECT_THROW(SavePictureToRecipe(pie + 1, picture), AppError) << "no such recipe";
    CloseCookbook();
    EXPECT_THROW(SavePictureToRecipe(pie, picture), AppError) << "no cookbook open";
    EXPECT_THROW(ExtractRecipePicture(pie, program.path("temp"), ""), AppError) << "no cookbook open";
}

struct ExtractCase {
    QVariant storedName;
    QVariant bytes;
    QString chosenName;
    QString written; // "" for no file
};

TEST_F(RecipeRecordsTest, ExtractedNameStaysInsideTheFolder)
{
    const QVariant jpeg = QByteArray("\xFF\xD8\xFF\xE0 picture");
    const std::vector<ExtractCase> cases = {
        {"cake.jpeg", jpeg, "3", "3.jpeg"},
        {"cake.jpg", jpeg, "3", "3.jpg"},
        {"cake.jpg", jpeg, "photo.png", "photo.png"},
        {"cake.jpg", jpeg, "", "cake.jpg"},
        {"dir\\cake.jpg", jpeg, "", "cake.jpg"},
        {"C:\\Pictures\\cake.gif", jpeg, "4", "4.gif"},
        {"../../x", jpeg, "", "x"},
        {"..\\..\\x.bmp", jpeg, "7", "7.bmp"},
        {"cake", jpeg, "3", "3"},
        {"cake.tar.gz", jpeg, "3", "3.gz"},
        {"..", jpeg, "", ""},
        {"pics/.", jpeg, "3", ""},
        {"", jpeg, "3", ""},
        {QVariant(), jpeg, "", ""},
        {"cake.jpg", QByteArray(""), "", ""},
        {"cake.jpg", QVariant(), "", ""},
    };
    const QString out = program.path("temp/pictures");
    for (const ExtractCase& c : cases) {
        SCOPED_TRACE(c.storedName.toString().toStdString() + " as " + c.chosenName.toStdString());
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        storePicture(pie, c.storedName, c.bytes);

        const QString written = ExtractRecipePicture(pie, out, c.chosenName);
        const QStringList files = QDir(out).entryList(QDir::Files | QDir::Hidden);
        if (c.written.isEmpty()) {
            EXPECT_EQ(written, "");
            EXPECT_TRUE(files.isEmpty()) << files.join(' ').toStdString();
        } else {
            EXPECT_EQ(written, out + '/' + c.written);
            EXPECT_EQ(files, QStringList{c.written});
            EXPECT_EQ(readBytes(out + '/' + c.written), c.bytes.toByteArray());
        }
        EXPECT_FALSE(QFile::exists(program.path("x")));
        EXPECT_FALSE(QFile::exists(program.path("temp/x")));
    }
}

TEST_F(RecipeRecordsTest, ExtractWithoutAFolderWritesIntoTheProgramFolder)
{
    storePicture(pie, "cake.jpg", QByteArray("JPEG"));
    EXPECT_EQ(ExtractRecipePicture(pie, "", "1"), program.path("1.jpg"));
    EXPECT_EQ(readBytes(program.path("1.jpg")), QByteArray("JPEG"));
    EXPECT_EQ(ExtractRecipePicture(pie + 1, program.path("temp"), ""), "") << "no such recipe";
}

// ---- titles

TEST_F(RecipeRecordsTest, TitleExistsIgnoringLetterCaseOnly)
{
    for (const QString title : {"Mum$$s Pie", "Crème Brûlée", "100% Rye", "a_b", "Back\\slash", "İçli köfte",
                                "Irmik helvası", "Straßburger Torte"})
        ScratchProgram::addRecipe(title);

    const std::vector<std::pair<QString, bool>> cases = {
        {"Apple Pie", true},       {"APPLE PIE", true},     {"apple pie", true},      {"Apple Pie ", false},
        {"Apple", false},          {"", false},             {"Mum$$s Pie", true},     {"mum$$s pie", true},
        {"Mum's Pie", false},      {"CRÈME BRÛLÉE", true},  {"crème brûlée", true},   {"Crème", false},
        {"Crème%", false},         {"Crème_Brûlée", false}, {"100% Rye", true},       {"100% RYE", true},
        {"100x Rye", false},       {"100%", false},         {"a_b", true},            {"axb", false},
        {"BACK\\SLASH", true},     {"Back\\\\slash", false}, {"Ünknown", false},
        // I, ı, İ and i are one letter in two cases; ß is "ss" in capitals.
        {"İÇLİ KÖFTE", true},     {"IÇLI KÖFTE", true},    {"içli köfte", true},     {"ICLI KOFTE", false},
        {"IRMIK HELVASI", true},  {"ırmık helvası", true}, {"İrmik Helvasi", true},  {"Irmak helvası", false},
        {"STRASSBURGER TORTE", true}, {"strassburger torte", true}, {"Strasburger Torte", false},
    };
    for (const auto& [title, expected] : cases)
        EXPECT_EQ(RecipeTitleExists(title), expected) << title.toStdString();

    CloseCookbook();
    EXPECT_FALSE(RecipeTitleExists("Apple Pie")) << "no cookbook open";
}

// ---- marks

class MarkWrites {
public:
    MarkWrites()
    {
        cnCookbook.exec("CREATE TEMP TABLE mark_writes (id INTEGER);"
                        "CREATE TEMP TRIGGER count_mark_writes AFTER UPDATE OF MARK ON RECIPES "
                        "BEGIN INSERT INTO mark_writes VALUES (NEW.ID); END;");
    }
    qint64 count() const { return scalar(cnCookbook, "SELECT count(*) FROM mark_writes"); }
};

TEST_F(RecipeRecordsTest, SetRecipeMarkWritesOnlyAChange)
{
    const qint64 tart = ScratchProgram::addRecipe("Tart");
    const MarkWrites writes;
    const QString key = "R" + QString::number(pie);

    SetRecipeMark(key, true);
    EXPECT_EQ(scalar(cnCookbook, "SELECT ID FROM RECIPES WHERE MARK=1"), pie);
    EXPECT_EQ(scalar(cnCookbook, "SELECT MARK FROM RECIPES WHERE ID=?1", {tart}), 0);
    EXPECT_EQ(writes.count(), 1);

    SetRecipeMark(key, true);
    EXPECT_EQ(writes.count(), 1) << "already marked";
    SetRecipeMark(key, false);
    EXPECT_EQ(scalar(cnCookbook, "SELECT MARK FROM RECIPES WHERE ID=?1", {pie}), 0);
    EXPECT_EQ(writes.count(), 2);
    SetRecipeMark(key, false);
    EXPECT_EQ(writes.count(), 2) << "already unmarked";

    SetRecipeMark("R" + QString::number(tart + 100), true); // no such recipe: nothing to do
    EXPECT_EQ(scalar(cnCookbook, "SELECT count(*) FROM RECIPES WHERE MARK=1"), 0);
    EXPECT_THROW(SetRecipeMark("R", true), AppError);
    EXPECT_THROW(SetRecipeMark("Rx1", true), AppError);
    CloseCookbook();
    EXPECT_THROW(SetRecipeMark(key, true), AppError) << "no cookbook open";
}

TEST_F(RecipeRecordsTest, ClearAllMarksClearsTheCookbookAndTheList)
{
    const qint64 tart = ScratchProgram::addRecipe("Tart");
    const qint64 flan = ScratchProgram::addRecipe("Flan");
    cnCookbook.exec("UPDATE RECIPES SET MARK=1");
    // The list shows only some of the recipes; every one of them loses its mark.
    window.addItem(pie, "Apple Pie", true);
    window.addItem(tart, "Tart", true);
    window.addItem(flan, "Flan", false);

    int itemSignals = 0;
    QObject::connect(window.lstVRecipes()->view()->model(), &QAbstractItemModel::dataChanged, [&] { ++itemSignals; });
    ClearAllMarks();
    EXPECT_EQ(scalar(cnCookbook, "SELECT count(*) FROM RECIPES WHERE MARK<>0"), 0);
    EXPECT_LE(itemSignals, 1) << "a long list is cleared without a signal and a repaint per item";
    RecipeList* list = window.lstVRecipes();
    ASSERT_EQ(list->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(listRow(list, i)->checkState(0), Qt::Unchecked) << i;
    EXPECT_EQ(window.markWrites, 0) << "the list's check boxes wrote the marks one by one";

    // The list's own check box still writes afterwards.
    listRow(list, 1)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(scalar(cnCookbook, "SELECT ID FROM RECIPES WHERE MARK=1"), tart);
}

TEST_F(RecipeRecordsTest, ClearAllMarksWithAnEmptyListOrNoCookbook)
{
    cnCookbook.exec("UPDATE RECIPES SET MARK=1");
    ClearAllMarks();
    EXPECT_EQ(scalar(cnCookbook, "SELECT count(*) FROM RECIPES WHERE MARK=1"), 0);

    CloseCookbook();
    EXPECT_THROW(ClearAllMarks(), AppError);
}

// ---- favourites

TEST_F(RecipeRecordsTest, RecipeIsAFavouriteOnlyOnce)
{
    const qint64 tart = ScratchProgram::addRecipe("Tart");
    AddFavourite(pie);
    AddFavourite(pie);
    AddFavourite(tart);
    EXPECT_EQ(scalar(cnCookbook, "SELECT count(*) FROM FAVOURITES"), 2);
    EXPECT_EQ(scalar(cnCookbook, "SELECT count(*) FROM FAVOURITES WHERE RECIPEID=?1", {pie}), 1);

    const qint64 pieRow = scalar(cnCookbook, "SELECT ID FROM FAVOURITES WHERE RECIPEID=?1", {pie});
    const qint64 tartRow = scalar(cnCookbook, "SELECT ID FROM FAVOURITES WHERE RECIPEID=?1", {tart});
    EXPECT_EQ(GetFavouriteRecipeID(pieRow), pie);
    EXPECT_EQ(GetFavouriteRecipeID(tartRow), tart);

    // A removed favourite row answers 0, and its ID is not given to the next favourite.
    db::Query(cnCookbook, "DELETE FROM FAVOURITES WHERE ID=?1", {tartRow}).exec();
    EXPECT_EQ(GetFavouriteRecipeID(tartRow), 0);
    AddFavourite(tart);
    EXPECT_EQ(GetFavouriteRecipeID(tartRow), 0);
    EXPECT_GT(scalar(cnCookbook, "SELECT ID FROM FAVOURITES WHERE RECIPEID=?1", {tart}), tartRow);
    EXPECT_EQ(GetFavouriteRecipeID(0), 0);

    CloseCookbook();
    EXPECT_NO_THROW(AddFavourite(pie));
    EXPECT_THROW(GetFavouriteRecipeID(pieRow), AppError);
}

} // namespace
