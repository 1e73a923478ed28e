#pragma once
// The recipe editor's rules for the text of its fields: times and their total, ingredient lines,
// categories, and the pieces of a selection copied from the clipboard pane.
#include <QString>
#include <QStringList>

namespace recipefields {

// True when the text reads as a time of day: h:mm or h:mm:ss (one or two digits each, hours 0-23,
// minutes and seconds 0-59), blanks around it allowed.
bool IsTimeText(const QString& text);

// The preparation time plus the cooking time as "hh:mm"; hours do not wrap at a day (20:00 + 05:10 is
// "25:10"). Empty when either time is empty or no time. Seconds are ignored.
QString TotalTime(const QString& prepTime, const QString& cookTime);

// Amount, unit and ingredient each as entered, separated by single blanks (empty parts keep their blanks).
QString IngredientLine(const QString& amount, const QString& unit, const QString& ingredient);

// The category entries of a stored category text: with fewer than two pieces the whole text is one entry,
// otherwise every piece between commas, trimmed.
QStringList CategoriesFromStored(const QString& stored);

// The categories of a copied selection: every piece between commas, trimmed, when it holds a comma;
// otherwise the selection itself, blanks included.
QStringList CategoriesFromSelection(const QString& selection);

// A copied selection for a one-line box: line breaks at its end dropped, those inside it turned into one
// blank each (a selected line comes with its line break).
QString SingleLine(const QString& selection);

// The lines of a copied selection, each trimmed; line breaks are CR LF, CR, LF or U+2029. A break at the
// very end gives an empty last line.
QStringList LinesOfSelection(const QString& selection);

// A stored multi-line text (CR LF) as a text widget takes it ("\n").
QString FromCrLf(const QString& stored);

} // namespace recipefields
