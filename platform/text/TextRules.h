#pragma once
// The program's small text rules.
#include <QString>
#include <QStringView>

namespace text {

// Removes leading and trailing blanks (spaces only: tabs stay).
QString trimBlanks(const QString& s);
// The same as a view into the text, without a copy.
QStringView trimBlanksView(QStringView s);
QString trimLeftBlanks(const QString& s);
QString trimRightBlanks(const QString& s);

// First letter of each word in title case, every other letter lower case, as the user's language writes
// them (Turkish and Azeri: "i" <-> "İ", "ı" <-> "I"); words are separated by blanks.
QString properCase(const QString& s);

// The text with letter case folded for comparing titles: every letter case-folded in full ("ß" as "ss"),
// and I, ı, İ and i as one letter, so that a Turkish title in capitals equals it written in small letters.
QString caseBlind(const QString& s);

// The apostrophe encoding of recipe rows: "'" is stored as "$$" and shown as "'".
QString encodeApostrophes(const QString& s);
QString decodeApostrophes(const QString& s);

// Line breaks of a text widget ("\n", U+2029, lone CR) as CR LF, the way multi-line fields are stored.
QString toCrLf(const QString& s);

} // namespace text
