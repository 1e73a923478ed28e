#pragma once
// 8-bit text as the program's files hold it: Windows-1252, or UTF-8 where the bytes are valid UTF-8.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace text {

bool isValidUtf8(const QByteArray& bytes);

// Windows-1252 to text; the five bytes that code page leaves undefined map to U+0080..U+009F.
QString fromCp1252(QByteArrayView bytes);

// Text to Windows-1252; a character the code page cannot hold becomes `replacement`.
QByteArray toCp1252(const QString& text, char replacement = '?');

// Text to Windows-1252 for an HTML page: a character the code page cannot hold becomes "&#N;".
QByteArray toCp1252Html(const QString& text);

// UTF-8 when the bytes are valid UTF-8, else Windows-1252 (a leading UTF-8 byte-order mark is dropped).
QString decode8bit(QByteArrayView bytes);

} // namespace text
