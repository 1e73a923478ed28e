#include "platform/zip/ZipWriter.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <zip.h>

namespace zipfile {
namespace {

QString libzipError(zip_error_t* error) { return QString::fromLocal8Bit(zip_error_strerror(error)); }

void note(QString& messages, const QString& line) { messages += line + "\r\n"; }

bool Cancelled(const Watch* watch) { return watch && watch->cancelled && watch->cancelled(); }

// libzip asks this between entries.
int OnCancel(zip_t*, void* watch) { return Cancelled(static_cast<const Watch*>(watch)) ? 1 : 0; }

// The bytes of all entries read so far, for a watched call.
struct Reading {
    const Watch* watch = nullptr;
    qint64 done = 0, total = 0;
    double shown = -1;
};

// A watched entry is read through this source, so that the packing of a large file answers Cancel
// between its blocks and the progress follows the bytes packed.
struct WatchedFile {
    QFile file;
    Reading* reading = nullptr;
    qint64 size = 0;
    time_t modified = 0;
    zip_error_t error;
};

zip_int64_t ReadWatchedFile(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto* s = static_cast<WatchedFile*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        if (!s->file.open(QIODevice::ReadOnly)) {
            zip_error_set(&s->error, ZIP_ER_OPEN, EACCES);
            return -1;
        }
        return 0;
    case ZIP_SOURCE_READ: {
        if (Cancelled(s->reading->watch)) {
            zip_error_set(&s->error, ZIP_ER_CANCELLED, 0);
            return -1;
        }
        const qint64 n = s->file.read(static_cast<char*>(data), qint64(length));
        if (n < 0) {
            zip_error_set(&s->error, ZIP_ER_READ, EIO);
            return -1;
        }
        Reading& r = *s->reading;
        r.done += n;
        const double done = r.total > 0 ? std::min(1.0, double(r.done) / double(r.total)) : 1.0;
        if (r.watch->progress && (done - r.shown >= 0.001 || (done == 1.0 && r.shown < 1.0))) {
            r.shown = done;
            r.watch->progress(done);
        }
        return n;
    }
    case ZIP_SOURCE_CLOSE:
        s->file.close();
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->size = zip_uint64_t(s->size);
        st->mtime = s->modified;
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&s->error);
        delete s;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

zip_source_t* Source(zip_t* archive, const QString& path, Reading* reading)
{
    if (!reading)
        return zip_source_file(archive, QFile::encodeName(path).constData(), 0, 0);
    auto* s = new WatchedFile;
    s->file.setFileName(path);
    s->reading = reading;
    const QFileInfo info(path);
    s->size = info.size();
    s->modified = time_t(info.lastModified().toSecsSinceEpoch());
    zip_error_init(&s->error);
    zip_source_t* source = zip_source_function(archive, ReadWatchedFile, s);
    if (!source) {
        zip_error_fini(&s->error);
        delete s;
    }
    return source;
}

} // namespace

int writeArchive(const QString& archivePath, const QList<Entry>& entries, bool update, QString& messages,
                 const Watch* watch)
{
    if (entries.isEmpty()) {
        note(messages, "zip error: Nothing to do! (" + archivePath + ")");
        return NothingToDo;
    }
    // libzip reads the files only when the archive is closed: check them now so that the message can
    // name the file at fault.
    for (const Entry& e : entries) {
        if (Cancelled(watch)) {
            note(messages, "zip error: Interrupted (aborting)");
            return Interrupted;
        }
        if (!QFileInfo(e.path).isFile() || !QFileInfo(e.path).isReadable()) {
            note(messages, "zip error: could not open for reading: " + e.path);
            return OpenFailed;
        }
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
    std::optional<Reading> reading;
    if (watch) {
        reading.emplace();
        reading->watch = watch;
        for (const Entry& e : entries)
            reading->total += QFileInfo(e.path).size();
        zip_register_cancel_callback_with_state(archive, OnCancel, nullptr, const_cast<Watch*>(watch));
    }
    for (const Entry& e : entries) {
        zip_source_t* source = Source(archive, e.path, reading ? &*reading : nullptr);
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
        if (zip_error_code_zip(zip_get_error(archive)) == ZIP_ER_CANCELLED || Cancelled(watch)) {
            note(messages, "zip error: Interrupted (aborting)");
            zip_discard(archive);
            return Interrupted;
        }
        note(messages, "zip error: could not write " + archivePath + ": " + libzipError(zip_get_error(archive)));
        zip_discard(archive);
        return WriteFailed;
    }
    return Ok;
}

} // namespace zipfile
