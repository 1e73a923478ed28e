#pragma once
// Writing the recipe editor's recipe into the open cookbook: a new row, or the fields of a stored one,
// together with its picture in one transaction, so that a failure leaves no half-saved recipe.
#include <QByteArray>
#include <QString>

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

// Writes the stored recipe's fields (title, author and wine with "'" stored as "$$", the others as typed;
// the origin only when chosen) and its picture. False when the row is gone: then nothing is written.
bool UpdateRecipe(qint64 id, const RecipeValues& values, const PictureChange& picture);

} // namespace recipewriter
