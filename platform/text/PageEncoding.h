#pragma once
// The character set of an HTML page the program writes from a template (a recipe page).
#include <QByteArray>
#include <QString>

namespace text {

// A page's bytes are in the charset its template declares in a meta element, any that Qt knows (the names
// browsers read as Windows-1252 meaning "windows-1252"); without a declaration Qt knows, UTF-8 when the
// template is valid UTF-8, else the code page of the user's language. A page keeps its template's
// declaration, so every reader of a page (the view, Save Recipe, the e-mail) finds its charset from the
// page's own bytes by the same rule.
QByteArray PageCharset(const QByteArray& bytes);
// The text of a page or template by that rule. Bytes that are no UTF-8 in a page declared UTF-8 are read
// in the user's code page, so that nothing is lost.
QString DecodePage(const QByteArray& bytes);
QString DecodePage(const QByteArray& bytes, const QByteArray& charset);
// Page text as bytes; what the charset cannot hold becomes a character reference ("&#N;").
QByteArray EncodePage(const QString& text, const QByteArray& charset);

} // namespace text
