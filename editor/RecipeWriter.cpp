#include "editor/RecipeWriter.h"

#include "core/basDatabase.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/text/LineFile.h"
#include "platform/text/TextRules.h"

#include <QCryptographicHash>
#include <QVariant>
#include <vector>

namespace recipewriter {
namespace {

using basDatabase::cnCookbook;
using text::encodeApostrophes;

// Never a null string: the Recipes text columns that require a value take "" for an empty box.
QVariant Text(const QString& s) { return s.isNull() ? QString("") : s; }

// Whether the open cookbook's length rules count an encoded apostrophe ("$$") as the one character it
// stands for; cookbooks made before they did count the stored form.
bool CountsApostropheOnce()
{
    db::Query schema(cnCookbook, "SELECT sql FROM sqlite_master WHERE type='table' AND name='Recipes' COLLATE NOCASE");
    return schema.next() && schema.text("sql").contains("replace(", Qt::CaseInsensitive);
}

// A value longer than its column fails the save with a message that names the field.
void CheckLength(const QString& field, const QString& stored, const QString& column, bool apostropheOnce = false)
{
    const int limit = basDatabase::RecipeColumnSize(column);
    const qsizetype length = (apostropheOnce ? text::decodeApostrophes(stored) : stored).toUcs4().size();
    if (length > limit)
        throw AppError(-19, QString("%1 is too long: at most %2 characters can be stored, and it has %3%4.")
                                .arg(field)
                                .arg(limit)
                                .arg(length)
                                .arg(!apostropheOnce && stored.contains("$$") ? " (an apostrophe takes two)" : ""));
}

// The stored forms of the values with a length limit (the Text columns of the Recipes table).
void CheckLengths(const QString& author, const QString& prep, const QString& cook, const QString& total,
                  const QString& yield, const QString& calories, const QString& wine, const QString* origin)
{
    const bool once = CountsApostropheOnce();
    CheckLength("Author", author, "Author", once);
    CheckLength("Prep Time", prep, "PrepTime", once);
    CheckLength("Cook Time", cook, "CookTime", once);
    CheckLength("Total Time", total, "TotalTime", once);
    CheckLength("Yield", yield, "Yield", once);
    CheckLength("Calories Per Serving", calories, "CaloriesPerServing", once);
    CheckLength("Wine", wine, "Wine", once);
    if (origin)
        CheckLength("Origin", *origin, "Origin", once);
}

void WritePicture(qint64 id, const PictureChange& picture)
{
    switch (picture.kind) {
    case PictureChange::Kind::Keep:
        return;
    case PictureChange::Kind::Clear:
        db::Query(cnCookbook, "UPDATE RECIPES SET PICTURENAME=NULL, RECIPEPICTURE=NULL WHERE ID=?1", {id}).exec();
        return;
    case PictureChange::Kind::Store:
        CheckLength("Picture name", picture.name, "PictureName");
        db::Query(cnCookbook, "UPDATE RECIPES SET PICTURENAME=?1, RECIPEPICTURE=?2 WHERE ID=?3",
                  {picture.name, picture.bytes, id})
            .exec();
        return;
    }
}

void RequireCookbook()
{
    if (!cnCookbook.isOpen())
        throw AppError(91, "No cookbook is open.");
}

} // namespace

PictureChange PictureFromFile(const QString& path)
{
    PictureChange change;
    change.bytes = text::readAllBytes(path);
    if (change.bytes.isEmpty())
        return {};
    change.kind = PictureChange::Kind::Store;
    change.name = paths::nameFromData(path);
    return change;
}

qint64 InsertRecipe(const RecipeValues& v, const PictureChange& picture)
{
    RequireCookbook();
    const std::vector<QString> stored = {
        encodeApostrophes(v.title),    encodeApostrophes(v.author),       encodeApostrophes(v.category),
        encodeApostrophes(v.prepTime), encodeApostrophes(v.cookTime),     encodeApostrophes(v.totalTime),
        encodeApostrophes(v.yield),    encodeApostrophes(v.calories),     encodeApostrophes(v.instructions),
        encodeApostrophes(v.wine),     encodeApostrophes(v.ingredients), encodeApostrophes(v.origin)};
    CheckLengths(stored[1], stored[3], stored[4], stored[5], stored[6], stored[7], stored[9], &stored[11]);

    db::Transaction transaction(cnCookbook, db::Transaction::OnScopeExit::Rollback, db::Transaction::Lock::Immediate);
    db::Query insert(cnCookbook, "INSERT INTO RECIPES ([TITLE],[AUTHOR],[CATEGORY],[Preptime],[Cooktime],[TotalTime],"
                                 "[Yield],[CaloriesPerServing],[Instructions],[Wine],[Ingredients],[Origin]) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
    for (size_t i = 0; i < stored.size(); ++i)
        insert.bind(static_cast<int>(i) + 1, Text(stored[i]));
    insert.exec();
    const qint64 id = cnCookbook.lastInsertId();
    WritePicture(id, picture);
    transaction.commit();
    return id;
}

QByteArray RecipeDigest(const db::Query& row)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int i = 0; i < row.columnCount(); ++i) {
        if (row.columnName(i).compare("MARK", Qt::CaseInsensitive) == 0)
            continue;
        const QVariant value = row.value(i);
        // Each value with its kind and length, so that no two different rows run together alike.
        const QByteArray bytes = value.isNull() ? QByteArray()
                                 : value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                                                                           : value.toString().toUtf8();
        hash.addData(row.columnName(i).toUtf8() + '\0' + QByteArray::number(value.isNull() ? -1 : value.typeId())
                     + '\0' + QByteArray::number(bytes.size()) + '\0');
        hash.addData(bytes);
    }
    return hash.result();
}

UpdateResult UpdateRecipe(qint64 id, const RecipeValues& v, const PictureChange& picture, const QByteArray& loadedDigest)
{
    RequireCookbook();
    const QString title = encodeApostrophes(v.title);
    const QString author = encodeApostrophes(v.author);
    const QString wine = encodeApostrophes(v.wine);
    CheckLengths(author, v.prepTime, v.cookTime, v.totalTime, v.yield, v.calories, wine,
                 v.originChosen ? &v.origin : nullptr);

    db::Transaction transaction(cnCookbook, db::Transaction::OnScopeExit::Rollback, db::Transaction::Lock::Immediate);
    {
        db::Query stored(cnCookbook, "SELECT * FROM RECIPES WHERE ID=?1", {id});
        if (!stored.next())
            return UpdateResult::Gone;
        if (!loadedDigest.isEmpty() && RecipeDigest(stored) != loadedDigest)
            return UpdateResult::ChangedElsewhere;
    }
    if (basDatabase::RecipeTitleTaken(title, id))
        throw AppError(-19, "There already is a recipe in the database with this name");

    db::Query update(cnCookbook, QString("UPDATE RECIPES SET TITLE=?1, AUTHOR=?2, CATEGORY=?3, PREPTIME=?4, "
                                         "COOKTIME=?5, TOTALTIME=?6, YIELD=?7, CALORIESPERSERVING=?8, "
                                         "INSTRUCTIONS=?9, WINE=?10, INGREDIENTS=?11%1 WHERE ID=?12")
                                     .arg(v.originChosen ? ", ORIGIN=?13" : ""));
    const QString values[] = {title,   author,  v.category,     v.prepTime, v.cookTime,     v.totalTime,
                              v.yield, v.calories, v.instructions, wine,       v.ingredients};
    int index = 1;
    for (const QString& value : values)
        update.bind(index++, Text(value));
    update.bind(12, id);
    if (v.originChosen)
        update.bind(13, Text(v.origin));
    update.exec();
    WritePicture(id, picture);
    transaction.commit();
    return UpdateResult::Updated;
}

} // namespace recipewriter
