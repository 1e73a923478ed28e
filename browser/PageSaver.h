#pragma once
// Saving the page on display to a place the user chooses.
#include <QString>

// Writes a copy of the HTML page to `target`. When the page shows `picture` (the picture the program
// wrote beside the page for its recipe; "" for none), that picture is copied beside the copy and the
// page's references to it point there; no other file the page names is copied. A picture copy that would
// replace another file is made only when the user agrees; when not, nothing is written and false comes
// back. The page's bytes stay as they are apart from the rewritten references. Throws AppError when a file
// cannot be read or written.
bool SavePageWithPicture(const QString& page, const QString& target, const QString& picture);
