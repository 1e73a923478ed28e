#pragma once
// The recipe page: the HTML template filled with one recipe's fields.
#include <QString>

// Writes the page of the recipe with list key "R" & ID from the template in basMain::sTemplatePath: for
// display "\temp\recipe.html", in e-mail mode the next numbered page in "\temp\email". Returns the path
// of the page written, or "" when none was (no such recipe, or an error, which is reported).
QString WriteRecipePage(const QString& sRecipeKey, bool bEmail);
