#pragma once
// Header lines of an outgoing mail as strict servers and readers expect them (RFC 5322, 2047, 2231):
// folded into lines under 78 characters wherever a blank allows it and never over 998, text that is not
// plain ASCII as encoded words of at most 75 characters, and file names that are not plain ASCII (or too
// long for one line) as RFC 2231 parameters.
#include <QByteArray>
#include <QString>

namespace mail::headers {

// Line breaks become blanks: a value from a box or from data never adds a header line.
QString OneLine(QString value);

// The whole header "Name: value" folded at its blanks (CRLF before the blank), without a final CRLF;
// where it already holds CRLF + blank, each of its lines is folded on its own.
QByteArray Fold(const QByteArray& line);

// Free text (a subject): as it stands when it is plain printable ASCII with words short enough to fold
// between, else UTF-8 encoded words separated by blanks.
QByteArray Unstructured(const QString& text);

// "Name <address>", the name quoted or as encoded words; just "<address>" without a name.
QByteArray Mailbox(const QString& name, const QString& address);

// A part's disposition ("attachment" or "inline") with its file name, for a "Content-Disposition" header.
QByteArray Disposition(const QByteArray& kind, const QString& fileName);

} // namespace mail::headers
