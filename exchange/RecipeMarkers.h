#pragma once
// Recognising recipe exchange text by its marker lines, for the import dialog (a file, line by line) and
// the clipboard watcher (the whole clipboard text), and handing it to the matching reader. The tests are
// the readers' own start-line tests, so that text recognised as a format is text its reader imports.
#include <QString>

class cImport;

// The format that one line of a file marks, tested in the import dialog's order (MasterCook, Meal-Master,
// Compu-Chef, XML): "MasterCook", "MealMaster", "CompuChef", "XML", or "" when the line marks none.
QString FileLineFormat(const QString& line);

// The format of clipboard text, its markers tested in the clipboard watcher's order against the whole
// text (Meal-Master, the whole Compu-Chef trailer, MasterCook, XML): the first marker found anywhere
// decides. "" when the text carries none.
QString ClipboardTextFormat(const QString& text);

// Calls the reader of the format ("MealMaster", "CompuChef", "MasterCook", "XML") on the file and returns
// its result; false for any other format name, without reading.
bool ImportWithReader(cImport& reader, const QString& format, const QString& path);
