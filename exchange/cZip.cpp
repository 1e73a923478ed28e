#include "exchange/cZip.h"

#include "exchange/basZip.h"
#include "platform/AppError.h"

namespace {
// Always first in the list, so that it cannot be added; it is never archived.
const QString kPlaceholder = QStringLiteral("querty");
constexpr int kSlots = 100; // placeholder included
constexpr int kSubscriptOutOfRange = 9;
} // namespace

cZip::cZip() : files_{kPlaceholder} {}

qsizetype cZip::indexOf(const QString& fileSpec) const
{
    for (qsizetype i = 0; i < files_.size(); ++i)
        if (files_[i].compare(fileSpec, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void cZip::AddFile(const QString& fileSpec)
{
    if (indexOf(fileSpec) >= 0)
        throw AppError(ErrAlreadyInList, "File is already in Zip List");
    files_.append(fileSpec);
}

void cZip::RemoveFile(const QString& fileSpec)
{
    const qsizetype i = indexOf(fileSpec);
    if (i <= 0)
        throw AppError(ErrNotInList, "File is not in Zip List");
    files_.removeAt(i);
}

long cZip::ZipFileCount() const { return long(files_.size()) - 1; }

QString cZip::GetLastMessage() const { return basZip::sZipMessage; }

long cZip::MakeZipFile()
{
    if (files_.size() > kSlots)
        throw AppError(kSubscriptOutOfRange, "Subscript out of range");
    return basZip::ZipArchiveFiles(files_.mid(1), zipFileName_, RecurseFolders(), UpdatingZip(), rootDirectory_, watch_);
}
