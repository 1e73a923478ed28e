#pragma once
// The encoding of an HTML page the program writes from a template (a recipe page).
#include <QByteArray>
#include <QString>

namespace text {

// A page's bytes follow the charset its template declares in a meta element when it declares one the
// program writes (UTF-8, or Windows-1252 and the names that mean it); otherwise UTF-8 when the template
// is valid UTF-8, else Windows-1252. A page keeps its template's declaration, so every reader of a page
// (the view, Save Recipe, the e-mail) finds its encoding from the page's own bytes by the same rule.
enum class PageEncoding { Utf8, Windows1252 };
PageEncoding PageEncodingOf(const QByteArray& bytes);
// The text of a page or template by that rule. Bytes that are no UTF-8 in a page declared UTF-8 are read
// as Windows-1252, so that nothing is lost.
QString DecodePage(const QByteArray& bytes);
QString DecodePage(const QByteArray& bytes, PageEncoding encoding);
// Page text as bytes; what Windows-1252 cannot hold becomes a character reference ("&#N;").
QByteArray EncodePage(const QString& text, PageEncoding encoding);

} // namespace text
