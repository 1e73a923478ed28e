// The cookbook file format and its creation.
#include "core/basDatabase.h"

#include "core/basMain.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/ui/Ui.h"

#include <QHash>
#include <QRegularExpression>
#include <QScopeGuard>

#include <functional>
#include <vector>

namespace basDatabase {

QString CookbooksFolder() { return paths::resolve("\\data\\cookbooks\\"); }

QString CookbookPath(const QString& fileName) { return paths::resolve("\\data\\cookbooks\\" + fileName); }

bool IsCookbookFileName(const QString& fileName)
{
    return !fileName.isEmpty() && paths::bareFileName(fileName) == fileName && !fileName.contains(QChar(0));
}

bool HasCookbookEnding(const QString& fileName) { return fileName.toLower().endsWith("tqc"); }

QStringList CookbookSchema()
{
    // Autonumbers never reuse an ID (a leftover favourite must not attach to a new recipe); text ignores
    // letter case in comparisons, sorting and the unique title; Yes/No columns hold 0 or 1.
    return {
        R"(CREATE TABLE Favourites (
  ID INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,
  RecipeID INTEGER NOT NULL DEFAULT 0);
CREATE INDEX "Favourites RecipeID" ON Favourites (RecipeID);)",

        R"(CREATE TABLE Identifier (
  Description TEXT COLLATE NOCASE NOT NULL,
  ID INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,
  Name TEXT COLLATE NOCASE NOT NULL CHECK (length(Name) <= 50));)",

        R"(CREATE TABLE Ingredients (
  Amount TEXT COLLATE NOCASE NOT NULL CHECK (length(Amount) <= 50),
  ID INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,
  Ingredient TEXT COLLATE NOCASE NOT NULL CHECK (length(Ingredient) <= 50),
  Measure TEXT COLLATE NOCASE NOT NULL CHECK (length(Measure) <= 50),
  Name TEXT COLLATE NOCASE NOT NULL CHECK (length(Name) <= 50),
  PrepComment TEXT COLLATE NOCASE NOT NULL,
  RecipeID INTEGER NOT NULL DEFAULT 0);
CREATE INDEX "Ingredients RecipeID" ON Ingredients (RecipeID);)",

        R"(CREATE TABLE Recipes (
  Author TEXT COLLATE NOCASE NOT NULL CHECK (length(replace(Author, '$$', '''')) <= 50),
  CaloriesPerServing TEXT COLLATE NOCASE CHECK (length(replace(CaloriesPerServing, '$$', '''')) <= 255),
  Category TEXT COLLATE NOCASE NOT NULL,
  CookTime TEXT COLLATE NOCASE CHECK (length(replace(CookTime, '$$', '''')) <= 50),
  Favourite INTEGER NOT NULL DEFAULT 0 CHECK (Favourite IN (0, 1)),
  ID INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL,
  Ingredients TEXT COLLATE NOCASE NOT NULL,
  Instructions TEXT COLLATE NOCASE NOT NULL,
  Mark INTEGER NOT NULL DEFAULT 0 CHECK (Mark IN (0, 1)),
  Origin TEXT COLLATE NOCASE CHECK (length(replace(Origin, '$$', '''')) <= 50),
  PictureName TEXT COLLATE NOCASE CHECK (length(PictureName) <= 255),
  PrepTime TEXT COLLATE NOCASE CHECK (length(replace(PrepTime, '$$', '''')) <= 50),
  RecipePicture BLOB,
  Title TEXT COLLATE NOCASE NOT NULL,
  TotalTime TEXT COLLATE NOCASE CHECK (length(replace(TotalTime, '$$', '''')) <= 50),
  Wine TEXT COLLATE NOCASE CHECK (length(replace(Wine, '$$', '''')) <= 50),
  Yield TEXT COLLATE NOCASE CHECK (length(replace(Yield, '$$', '''')) <= 50));
CREATE UNIQUE INDEX "Recipe Name" ON Recipes (Title);
CREATE INDEX "Marked" ON Recipes (Mark);)",
    };
}

int RecipeColumnSize(const QString& column)
{
    // The limits as the schema declares them ("Author TEXT ... CHECK (length(Author) <= 50)"); a column
    // that holds apostrophes encoded counts each "$$" as the one character it stands for.
    static const QHash<QString, int> limits = [] {
        QHash<QString, int> found;
        static const QRegularExpression check(R"((\w+) TEXT[^,\n]*CHECK \(length\((?:replace\(\1, '\$\$', ''''\)|\1)\) <= (\d+)\))");
        for (const QString& statement : CookbookSchema()) {
            if (!statement.contains(QLatin1String("CREATE TABLE Recipes")))
                continue;
            for (auto it = check.globalMatch(statement); it.hasNext();) {
                const auto m = it.next();
                found.insert(m.captured(1).toLower(), m.captured(2).toInt());
            }
        }
        return found;
    }();
    return limits.value(column.toLower(), 0);
}

bool CreateCookbook(const QString& fileName, bool* complete)
{
    db::Connection catalog;
    const QString path = CookbookPath(fileName);
    bool made = false;
    bool whole = true;
    auto finish = qScopeGuard([&] {
        if (complete)
            *complete = whole;
    });

    std::vector<std::function<void()>> steps;
    steps.emplace_back([&] {
        catalog.create(path);
        made = true;
    });
    for (const QString& table : CookbookSchema())
        steps.emplace_back([&catalog, table] {
            // A table is written whole or not at all, so that Retry can run its step again.
            db::Transaction transaction(catalog);
            catalog.exec(table);
            transaction.commit();
        });

    for (size_t i = 0; i < steps.size();) {
        try {
            steps[i]();
            ++i;
        } catch (...) {
            const AppError e = basMain::CurrentError();
            basMain::AppendErrorLog(e.number, e.description, "CreateCookbook " + fileName);
            const ui::Answer answer = ui::msgBox("    Error No. " + QString::number(e.number) + " \r\n" + e.description,
                                                 ui::Buttons::AbortRetryIgnore, ui::Icon::Critical, "Code Gen Error");
            if (answer == ui::Answer::Retry)
                continue;
            whole = false;
            if (answer == ui::Answer::Abort)
                return made;
            ++i;
        }
    }
    return made;
}

} // namespace basDatabase
