#pragma once
// How a page names other files: attribute values with character references, links that point to local
// files, and the file names a page, a copy of it and a mail can all carry.
#include <QByteArray>
#include <QString>

namespace text {

// The text an attribute value or text stands for: "&amp;", "&lt;", "&gt;", "&quot;", "&apos;" and numeric
// references resolved, everything else as it stands.
QString ResolveReferences(const QString& html);

// The local file a src value names, absolute ("" for links elsewhere: http:, data:, cid: ...), whether or
// not it exists. A relative name is taken from the page's folder, as the page's reader takes it.
QString ReferencedFile(const QString& value, const QString& pageFolder);

// A value as the bytes of an attribute in any page's charset: markup characters and quotes as references,
// everything beyond ASCII as "&#N;".
QByteArray AttributeBytes(const QString& value);

// A file name with what a page's link, a file system or a mail header cannot carry as it is ("\"", "'",
// "<", ">", "%", "#", "?", "*", "|", ":", ";") turned into "_"; letters of any script stay.
QString CarriableFileName(const QString& name);

} // namespace text
