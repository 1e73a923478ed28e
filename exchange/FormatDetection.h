#pragma once
// Line tests that recognise recipe exchange text, shared by the readers, the import dialog and the
// clipboard watcher, so that text detected as a format is also what its reader imports.
#include <QString>
#include <QStringView>

// The line that starts a Meal-Master recipe: it holds both "-----" and "Meal-Master".
bool IsMealMasterStartLine(QStringView line);

// The line that starts a MasterCook recipe: with every run of blanks taken as one blank it holds
// "Exported from MasterCook" ("*  Exported from  MasterCook  *", "* Exported from MasterCook *", and the
// "II" and "Mac" variants).
bool IsMasterCookStartLine(const QString& line);

// The trailer that closes every Compu-Chef recipe.
inline constexpr char kCompuChefTrailer[] = "*** Recipe Via Compu-Chef (tm) ***";

// The line that starts a Compu-Chef recipe: five or more asterisks and nothing else (blanks and NULs
// around them aside), the frame above the title. A recipe starts where such a line is directly followed
// by its framed title line.
bool IsCompuChefStartLine(const QString& line);
// The framed title line under a start line: "****** Title ******".
bool IsCompuChefTitleLine(const QString& line);
// The line that closes a Compu-Chef recipe: it holds the trailer.
bool IsCompuChefTrailerLine(const QString& line);
