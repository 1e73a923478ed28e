#pragma once
// The recipe pages an e-mail carries, taken as bytes: every local image a page shows travels with it, and
// no path of the sender's machine is left in it.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace emailpages {

// How a mailed page names the images that travel with it.
enum class Carry {
    Related, // "cid:" and the content id of the related part (a page in the message body)
    Beside,  // the bare name of the file attached or packed beside the page
};

// Every local image the page references (the src and background attributes of its tags: a file: link,
// an absolute path, or a name taken from `pageFolder`) is taken as a file of `folder`, copied there under
// a name of its own when it lies elsewhere, and the reference names it as `how` says. A reference whose
// file is not there, or is no image, is dropped from its tag. Returns the files the page names now, each
// once, in the page's order.
QStringList CarryImages(QByteArray& page, const QString& pageFolder, const QString& folder, Carry how);
// The same for a page file, rewritten in place.
QStringList CarryImagesOfFile(const QString& pagePath, const QString& pageFolder, const QString& folder, Carry how);

// The typed message as the start of an HTML body: shown as typed (markup characters escaped, lines kept),
// in plain ASCII so that it reads the same in whatever character set the pages come in.
QByteArray MessageAsHtml(const QString& message);

} // namespace emailpages
