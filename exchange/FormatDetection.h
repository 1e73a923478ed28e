#pragma once
// Line tests that recognise recipe exchange text, shared by the readers, the import dialog and the
// clipboard watcher, so that text detected as a format is also what its reader imports.
#include <QString>
#include <QStringView>

// The line that starts a Meal-Master recipe: it holds both "-----" and "Meal-Master".
bool IsMealMasterStartLine(QStringView line);

// The line that ends a Meal-Master recipe: "MMMMM" (blanks around it aside), or five or more dashes from
// the first column and nothing after them but blanks (an underline indented inside the directions is
// text).
bool IsMealMasterEndLine(QStringView line);

// The line that starts a MasterCook recipe: with every run of blanks taken as one blank it holds
// "Exported from MasterCook" ("*  Exported from  MasterCook  *", "* Exported from MasterCook *", and the
// "II" and "Mac" variants).
bool IsMasterCookStartLine(const QString& line);

// The rule that ends a MasterCook recipe's directions: four or more groups of one or two dashes, each
// separated from the next by one blank ("- - - -", "- - -- - -"), blanks around it aside.
bool IsMasterCookEndRule(QStringView line);
// The end rule as our writer writes it, from the first column.
inline constexpr char kMasterCookEndRule[] = "- - - - - - - - - - - - - - - - - - ";

// The trailer that closes every Compu-Chef recipe.
inline constexpr char kCompuChefTrailer[] = "*** Recipe Via Compu-Chef (tm) ***";

// The line that starts a Compu-Chef recipe: five or more asterisks and nothing else (blanks and NULs
// around them aside), the frame above the title. A recipe starts where such a line is directly followed
// by its framed title line.
bool IsCompuChefStartLine(const QString& line);
// The framed title line under a start line: "****** Title ******", with a title that is not only asterisks.
bool IsCompuChefTitleLine(const QString& line);
// The line that closes a Compu-Chef recipe: it holds the trailer.
bool IsCompuChefTrailerLine(const QString& line);

// Stored lines that a reader of the format, ours or another program's, would take for one of the format's
// own lines: a recipe's start or end, a frame, a label line. Our writers write such a line with one
// leading blank (GuardedLine); readers trim that blank off the text, and no reader takes the line for
// what it looks like. Our readers take a line of one blank followed by such a line as text
// (IsGuardedLine). Real Meal-Master archives indent headers and end lines by one blank too: the
// Meal-Master reader tells them apart by the lines that follow (a title line after a header, no end line
// from the first column after an end line), which is why a title line is guarded as well.
bool IsMealMasterMarkerLine(const QString& line);
bool IsMasterCookMarkerLine(const QString& line);
bool IsCompuChefMarkerLine(const QString& line);

using MarkerLineTest = bool (*)(const QString& line);
// The line as a writer writes it: a marker line gets one leading blank in place of its own leading blanks.
QString GuardedLine(const QString& line, MarkerLineTest isMarker);
// A marker line that a writer guarded: one blank, then the marker line from its first character.
bool IsGuardedLine(const QString& line, MarkerLineTest isMarker);
