#pragma once
// Writing the recipe editor's recipe into the open cookbook: a new row, or the fields of a stored one,
// together with its picture in one transaction, so that a failure leaves no half-saved recipe.
#include <QByteArray>
#include <QString>

namespace db {
class Query;
}

namespace recipewriter {

// The editor's values as the user sees them (apostrophes as typed, line breaks as CR LF).
struct RecipeValues {
    QString title, author, category, prepTime, cookTime, totalTime, yield, calories, instructions, wine,
        ingredients, origin;
    bool originChosen = false; // the origin is one of the listed countries (an amend writes only then)
};

// What happens to the stored picture.
struct PictureChange {
    enum class Kind { Keep, Clear, Store } kind = Kind::Keep;
    QString name;     // bare file name (Store)
    QByteArray bytes; // the file's bytes (Store)
};

// The picture to store from a chosen or pasted file: its bytes are read now, before anything is written
// (AppError when the file cannot be read). An empty file keeps what is stored.
PictureChange PictureFromFile(const QString& path);

// Inserts a new recipe, every value with "'" stored as "$$", and its picture; returns its ID.
qint64 InsertRecipe(const RecipeValues& values, const PictureChange& picture);

// A digest of what the recipe row holds (every column but the check mark, which is no amend), so that
// the editor can tell at OK whether another window changed the recipe since it was loaded.
QByteArray RecipeDigest(const db::Query& row);

enum class UpdateResult { Updated, Gone, ChangedElsewhere };

// Writes the stored recipe's fields (title, author and wine with "'" stored as "$$", the others as typed;
// the origin only when chosen) and its picture. Nothing is written when the row is gone, nor when
// `loadedDigest` is given and the row no longer matches it (another window changed it meanwhile); the
// comparison and the write are one transaction.
UpdateResult UpdateRecipe(qint64 id, const RecipeValues& values, const PictureChange& picture,
                          const QByteArray& loadedDigest = {});

} // namespace recipewriter
