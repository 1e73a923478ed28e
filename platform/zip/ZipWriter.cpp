#include "platform/zip/ZipWriter.h"

#include <QFile>
#include <QFileInfo>
#include <zip.h>

namespace zipfile {
namespace {

QString libzipError(zip_error_t* error) { return QString::fromLocal8Bit(zip_error_strerror(error)); }

void note(QString& messages, const QString& line) { messages += line + "\r\n"; }

} // namespace

int writeArchive(const QString& archivePath, const QList<Entry>& entries, bool update, QString& messages)
{
    if (entries.isEmpty()) {
        note(messages, "zip error: Nothing to do! (" + archivePath + ")");
        return NothingToDo;
    }
    // libzip reads the files only when the archive is closed: check them now so that the message can
    // name the file at fault.
    for (const Entry& e : entries)
        if (!QFileInfo(e.path).isFile() || !QFileInfo(e.path).isReadable()) {
            note(messages, "zip error: could not open for reading: " + e.path);
            return OpenFailed;
        }

    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_CREATE | (update ? 0 : ZIP_TRUNCATE), &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        note(messages, "zip error: could not create " + archivePath + ": " + libzipError(&error));
        zip_error_fini(&error);
        return CreateFailed;
    }
    for (const Entry& e : entries) {
        zip_source_t* source = zip_source_file(archive, QFile::encodeName(e.path).constData(), 0, 0);
        if (!source || zip_file_add(archive, e.name.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            note(messages, "zip error: could not add " + e.path + ": " + libzipError(zip_get_error(archive)));
            if (source)
                zip_source_free(source);
            zip_discard(archive);
            return OpenFailed;
        }
        note(messages, "  adding: " + e.name);
    }
    if (zip_close(archive) < 0) {
        note(messages, "zip error: could not write " + archivePath + ": " + libzipError(zip_get_error(archive)));
        zip_discard(archive);
        return WriteFailed;
    }
    return Ok;
}

} // namespace zipfile
