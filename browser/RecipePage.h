#pragma once
// The recipe page: the HTML template filled with one recipe's fields. Its bytes follow the rule of
// platform/text/PageEncoding.h, by which every reader of a page decodes it.
#include "platform/text/PageEncoding.h"

#include <QString>

// Writes the page of the recipe with list key "R" & ID from the template in basMain::sTemplatePath: for
// display "recipe.html" in this instance's page folder (core/PageFolder.h), in e-mail mode the next
// numbered page in its "email" folder, leaving the page on display alone. Returns the path
// of the page written, or "" when none was (no such recipe, or an error, which is reported; in e-mail mode
// the error is raised to the caller instead). `picture`,
// when given, receives the path of the recipe's picture written beside the page ("" for none).
// Every page holds the stored text whole and unchanged, with every value escaped for text and attributes
// alike; the picture is written under its stored name with the characters a link cannot carry made "_".
// For display, a shortened form with break opportunities in long runs may go beside the page
// (ShownFormOf): the view shows that form, while saving, mailing and printing take the page itself.
QString WriteRecipePage(const QString& sRecipeKey, bool bEmail, QString* picture = nullptr);
// Where the view's form of a page goes; there is none when no such file is there.
QString ShownFormOf(const QString& pagePath);
