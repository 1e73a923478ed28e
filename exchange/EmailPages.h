#pragma once
// The recipe pages an e-mail carries, taken as bytes: finding a page's picture and pointing the page at
// the copy of the picture that travels with it.
#include <QByteArray>
#include <QString>

namespace emailpages {

// The page's picture reference: the value of its first double-quoted src attribute, as it stands in the
// page's bytes ("" when there is none).
QByteArray PictureReference(const QByteArray& page);

// The file name of the page's picture: the reference after its last "/" or "\", read in the page's
// character set with character references resolved ("" when the page names no picture).
QString GetPictureName(const QByteArray& page);

// Replaces every occurrence of `reference` in the page by `replacement` ("1.jpg", "cid:...").
QByteArray ReplaceReference(QByteArray page, const QByteArray& reference, const QByteArray& replacement);

// The page's first picture reference, rewritten in place in the file to the bare file name so that the
// page shows the picture that lies beside it. Returns the picture's path in `folder`, or "" when the page
// names no picture or that file is not there (the page is then left alone).
QString StripPicturePath(const QString& pagePath, const QString& folder);

// The typed message as the start of an HTML body: shown as typed (markup characters escaped, lines kept),
// in plain ASCII so that it reads the same in whatever character set the pages come in.
QByteArray MessageAsHtml(const QString& message);

} // namespace emailpages
