#pragma once
// Values fitted to the size of their Recipes column, so that a long value never costs a recipe.
#include <QString>

// The value cut to at most `size` characters (0: unchanged): never inside a character or a "$$" pair
// (the stored apostrophe), and without the blanks the cut leaves at its end.
QString FitToSize(const QString& value, int size);
