#pragma once
// Compu-Chef text: each recipe opens with a frame of asterisks around its title and closes with a
// fixed trailer line.
#include <QString>

// The trailer that closes every Compu-Chef recipe.
inline constexpr char kCompuChefTrailer[] = "*** Recipe Via Compu-Chef (tm) ***";

// A line that starts a recipe: it holds a run of five asterisks (the title frame).
bool IsCompuChefStartLine(const QString& line);
// A line that closes a recipe: it holds the trailer.
bool IsCompuChefTrailerLine(const QString& line);
