#include "platform/db/Database.h"

#include "platform/db/LetterFunction.h"
#include "platform/db/UnicodeLike.h"
#include "platform/paths/NewFile.h"

#include <QFile>
#include <QFileInfo>
#include <optional>
#include <sqlite3.h>

namespace db {
namespace {
// SQLite takes a file of no bytes for a new, empty database: here it is a damaged file. A file cut short
// or one that is no database fails the probe (SQLite checks the page count its header gives against the
// file's size). The size comes from stat: no descriptor of a database file is ever opened outside SQLite,
// since closing one drops every lock the process holds on the file, SQLite's included.
void refuseEmptyFile(const QString& path)
{
    if (QFileInfo(path).size() == 0)
        throw AppError(-SQLITE_NOTADB, QString::fromUtf8(sqlite3_errstr(SQLITE_NOTADB)));
}
} // namespace

namespace {
// What the user is told: the cause in words first where SQLite's own message leaves it unclear, with
// SQLite's message kept after it. The number stays minus SQLite's result code.
AppError storageError(sqlite3* db, int rc, const QString& message)
{
    const int code = rc & 0xff;
    switch (code) {
    case SQLITE_BUSY: {
        // The busy timeout ran out: another process holds the file's lock.
        const QString file = db ? QFileInfo(QString::fromUtf8(sqlite3_db_filename(db, "main"))).fileName() : QString();
        const QString what = file.endsWith(".tqc", Qt::CaseInsensitive) ? QString("the cookbook")
                             : file.isEmpty()                            ? QString("the database")
                                                                         : file;
        return AppError(-code, "Another program is using " + what + " (" + message + ")");
    }
    case SQLITE_FULL:
        return AppError(-code, "Disk full (" + message + ")");
    default:
        return AppError(-code, message);
    }
}
} // namespace

AppError lastError(sqlite3* db, int rc)
{
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    return storageError(db, rc, message);
}

namespace {
int& busyTimeoutSetting()
{
    static int milliseconds = 5000;
    return milliseconds;
}
} // namespace

void setBusyTimeout(int milliseconds) { busyTimeoutSetting() = milliseconds; }
int busyTimeout() { return busyTimeoutSetting(); }

bool isStorageFailure(const AppError& error)
{
    if (error.number < 0) {
        switch (-error.number) {
        case SQLITE_CONSTRAINT: // a duplicate title, a missing required value, a value too long
        case SQLITE_TOOBIG:
        case SQLITE_MISMATCH:
        case SQLITE_RANGE:
            return false;
        default:
            return true;
        }
    }
    // The program's own file errors: not found, device I/O, disk full, permission, access, path.
    switch (error.number) {
    case AppError::FileNotFound:
    case 57:
    case 61:
    case 70:
    case AppError::PathFileAccess:
    case AppError::PathNotFound:
        return true;
    default:
        return false;
    }
}

Connection::~Connection() { close(); }

Connection::Connection(Connection&& other) noexcept
    : db_(other.db_), path_(std::move(other.path_)), cache_(std::move(other.cache_))
{
    other.db_ = nullptr;
    other.cache_.clear();
}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        close();
        db_ = other.db_;
        path_ = std::move(other.path_);
        cache_ = std::move(other.cache_);
        other.db_ = nullptr;
        other.cache_.clear();
    }
    return *this;
}

void Connection::openHandle(const QString& path, int flags)
{
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        AppError error = lastError(handle, rc);
        sqlite3_close(handle);
        throw error;
    }
    db_ = handle;
    path_ = path;
    sqlite3_busy_timeout(db_, busyTimeout());
    sqlite3_extended_result_codes(db_, 0);
    registerUnicodeLike(db_);
    registerLetterFunction(db_);
}

void Connection::readSchema()
{
    // A file that is not a database (or is damaged) fails on its first read.
    Query probe(*this, "SELECT count(*) FROM sqlite_master");
    probe.next();
}

void Connection::open(const QString& path)
{
    close();
    if (!QFileInfo(path).isFile())
        throw AppError(AppError::FileNotFound, QString("Could not find file '%1'.").arg(path));
    refuseEmptyFile(path);
    openHandle(path, SQLITE_OPEN_READWRITE);
    try {
        readSchema();
    } catch (...) {
        close();
        throw;
    }
}

void Connection::create(const QString& path)
{
    close();
    // The file is made here, exclusively, and SQLite only opens it: a file that appears under the name
    // at the same moment is never written into.
    std::optional<paths::NewFile> file;
    try {
        file.emplace(path);
    } catch (const AppError& e) {
        if (e.number == 58)
            throw AppError(-(SQLITE_CANTOPEN), QString("Database '%1' already exists.").arg(path));
        throw;
    }
    try {
        openHandle(path, SQLITE_OPEN_READWRITE);
        if (!file->stillAtPath())
            throw AppError(-(SQLITE_CANTOPEN), QString("Database '%1' was replaced while it was made.").arg(path));
    } catch (...) {
        close();
        if (file->stillAtPath())
            QFile::remove(path);
        throw;
    }
    // Closed before SQLite takes a lock on the file: closing any descriptor of a file drops the
    // process's locks on it.
    file->close();
}

sqlite3_stmt* Connection::takeCached(const QString& sql)
{
    const auto it = cache_.find(sql);
    if (it == cache_.end())
        return nullptr;
    sqlite3_stmt* stmt = it->second;
    cache_.erase(it); // checked out: a nested query with the same text prepares its own
    return stmt;
}

void Connection::giveBack(const QString& sql, sqlite3_stmt* stmt)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!db_ || !cache_.emplace(sql, stmt).second)
        sqlite3_finalize(stmt);
}

void Connection::close()
{
    for (auto& [sql, stmt] : cache_)
        sqlite3_finalize(stmt);
    cache_.clear();
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Connection::exec(const QString& sql)
{
    if (!db_)
        throw AppError(3704, "Operation is not allowed when the object is closed.");
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const QString message = err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(err);
        throw storageError(db_, rc, message);
    }
}

qint64 Connection::lastInsertId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }
int Connection::changes() const { return db_ ? sqlite3_changes(db_) : 0; }

bool Connection::fileHasMoved() const
{
    int moved = 0;
    return db_ && sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved != 0;
}

std::optional<Connection> Connection::openReader() const
{
    if (!db_ || !sqlite3_get_autocommit(db_) || fileHasMoved())
        return std::nullopt;
    Connection reader;
    try {
        reader.openHandle(path_, SQLITE_OPEN_READONLY);
        // A journal left by a program that died while writing cannot be undone read-only: this
        // connection then reads the file after undoing it.
        reader.readSchema();
    } catch (const AppError&) {
        return std::nullopt;
    }
    // Neither file has moved after both were opened: the path names both, so they are one file.
    if (fileHasMoved() || reader.fileHasMoved())
        return std::nullopt;
    return reader;
}

Query::Query(Connection& connection, const QString& sql) : db_(connection.handle())
{
    prepare(sql);
}

Query::Query(Connection& connection, const QString& sql, Cached) : db_(connection.handle())
{
    if (db_)
        stmt_ = connection.takeCached(sql);
    if (!stmt_)
        prepare(sql);
    cachedBy_ = &connection;
    sql_ = sql;
}

Query::Query(Connection& connection, const QString& sql, Cached cached, std::initializer_list<QVariant> values)
    : Query(connection, sql, cached)
{
    int i = 1;
    for (const QVariant& v : values)
        bind(i++, v);
}

void Query::prepare(const QString& sql)
{
    if (!db_)
        throw AppError(3704, "Operation is not allowed when the object is closed.");
    const QByteArray utf8 = sql.toUtf8();
    check(sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &stmt_, nullptr));
}

Query::Query(Connection& connection, const QString& sql, std::initializer_list<QVariant> values)
    : Query(connection, sql)
{
    int i = 1;
    for (const QVariant& v : values)
        bind(i++, v);
}

Query::~Query()
{
    if (cachedBy_ && stmt_ && cachedBy_->handle() == db_)
        cachedBy_->giveBack(sql_, stmt_);
    else
        sqlite3_finalize(stmt_);
}

void Query::check(int rc) const
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw lastError(db_, rc);
}

void Query::hold(int index, QByteArray bytes)
{
    if (bound_.size() <= static_cast<size_t>(index))
        bound_.resize(index + 1);
    bound_[index] = std::move(bytes); // a move keeps the bytes where SQLite was told they are
}

Query& Query::bind(int index, const QVariant& value)
{
    int rc;
    if (value.isNull() || !value.isValid()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob64(stmt_, index, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                     SQLITE_STATIC);
            if (rc == SQLITE_OK)
                hold(index, std::move(bytes));
            break;
        }
        default: {
            QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text64(stmt_, index, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                                     SQLITE_STATIC, SQLITE_UTF8);
            if (rc == SQLITE_OK)
                hold(index, std::move(utf8));
        }
        }
    }
    check(rc);
    return *this;
}

Query& Query::bind(const QString& name, const QVariant& value)
{
    const int index = sqlite3_bind_parameter_index(stmt_, name.toUtf8().constData());
    if (index == 0)
        throw AppError(AppError::InvalidProcedureCall, "Unknown parameter " + name);
    return bind(index, value);
}

void Query::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    bound_.clear();
}

bool Query::next()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw lastError(db_, rc);
}

void Query::exec()
{
    while (next()) {
    }
}

int Query::columnCount() const { return sqlite3_column_count(stmt_); }

QString Query::columnName(int index) const { return QString::fromUtf8(sqlite3_column_name(stmt_, index)); }

int Query::columnIndex(const QString& column) const
{
    if (columns_.isEmpty()) {
        // The first of two columns of one name wins (SELECT * over a join).
        for (int i = 0, n = columnCount(); i < n; ++i)
            if (!columns_.contains(columnName(i).toLower()))
                columns_.insert(columnName(i).toLower(), i);
    }
    return columns_.value(column.toLower(), -1);
}

QVariant Query::value(int index) const
{
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, index));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt_, index);
        return QVariant(QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, index)));
    }
    default: {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
        return QVariant(QString::fromUtf8(data, sqlite3_column_bytes(stmt_, index)));
    }
    }
}

QVariant Query::value(const QString& column) const
{
    const int index = columnIndex(column);
    if (index < 0)
        throw AppError(3265, "Item cannot be found in the collection corresponding to the requested name or ordinal: "
                                 + column);
    return value(index);
}

QString Query::text(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

QString Query::text(int index) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(stmt_, index)) : QString();
}

bool Query::isNull(const QString& column) const { return value(column).isNull(); }

Transaction::Transaction(Connection& connection, OnScopeExit policy, Lock lock)
    : connection_(connection), policy_(policy)
{
    connection_.exec(lock == Lock::Immediate ? "BEGIN IMMEDIATE" : "BEGIN");
}

Transaction::~Transaction()
{
    if (!open_)
        return;
    try {
        if (policy_ == OnScopeExit::Commit)
            commit();
        else
            rollback();
    } catch (...) {
        // the connection may be gone already; nothing more can be done here
    }
}

void Transaction::commit()
{
    if (!open_)
        return;
    open_ = false;
    try {
        connection_.exec("COMMIT");
    } catch (...) {
        // A failed COMMIT (a busy file) leaves the transaction open: end it so that later statements on
        // the connection do not run inside it.
        if (connection_.handle() && !sqlite3_get_autocommit(connection_.handle())) {
            try {
                connection_.exec("ROLLBACK");
            } catch (...) {
            }
        }
        throw;
    }
}

void Transaction::rollback()
{
    if (open_) {
        open_ = false;
        connection_.exec("ROLLBACK");
    }
}

} // namespace db
