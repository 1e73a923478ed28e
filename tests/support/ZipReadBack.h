#pragma once
// Reads a zip archive back with libzip: every entry's name and bytes, in archive order.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <zip.h>

using ZipEntries = QList<QPair<QString, QByteArray>>;

// The entries of the archive held in `bytes`; an empty list when it is no readable archive.
inline ZipEntries readZip(const QByteArray& bytes)
{
    ZipEntries entries;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        return entries;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(archive, zip_uint64_t(i), 0, &st);
        QByteArray data(qsizetype(st.size), '\0');
        zip_file_t* f = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (f) {
            zip_fread(f, data.data(), st.size);
            zip_fclose(f);
        }
        entries.append({QString::fromUtf8(st.name), data});
    }
    zip_close(archive);
    zip_error_fini(&error);
    return entries;
}
