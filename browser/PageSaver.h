#pragma once
// Saving the page on display to a place the user chooses.
#include <QString>
#include <QStringList>

// Writes a copy of the HTML page to `target` and copies every local picture the page references (its
// src attributes) beside it, with the copy's references pointing at those copies, so that the saved page
// shows its pictures after the temporary files are gone. Returns the pictures copied. The page bytes are
// kept as they are apart from the rewritten references. Throws AppError when a file cannot be read or
// written.
QStringList SavePageWithPictures(const QString& page, const QString& target);
