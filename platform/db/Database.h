#pragma once
// A thin RAII layer over SQLite: a connection, a prepared query with bound values, a transaction.
//
// Values travel as QVariant: a null QVariant is SQL NULL, integers and booleans are integers, QByteArray
// is a blob, everything else text. Column values are read by name without regard to letter case.
// Failures throw AppError with a negative number (minus SQLite's result code) and SQLite's message, led
// by the cause in words where that message leaves it unclear (another program holding the lock, a full
// disk).
#include "platform/AppError.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;

    // Opens an existing database file read-write; never creates one. A missing file fails with 53; a
    // file of no bytes, one cut short or one that is no database fails with a negative number. The file
    // is probed with a query, so such files fail here rather than later.
    void open(const QString& path);
    // Creates a new database file exclusively; fails when anything exists at the path (a dangling link
    // too), and never writes into or deletes what it did not make.
    void create(const QString& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }

    // Runs one or more statements that take no values.
    void exec(const QString& sql);
    qint64 lastInsertId() const;
    int changes() const;
    // True when the file this connection opened was renamed, moved away or deleted since (SQLite then
    // refuses every write as "readonly"); the path may hold another file by now.
    bool fileHasMoved() const;
    // A second connection, read-only, to the very file this one has open, for reading on another thread
    // beside this connection; it sees what is committed. None while this connection is inside a
    // transaction (the other would not see its changes), when the file has moved, or when it cannot be
    // opened.
    std::optional<Connection> openReader() const;
    sqlite3* handle() const { return db_; }

private:
    friend class Query;
    struct CachedStatement;
    // Opens the SQLite handle with these flags and sets it up (busy timeout, LIKE); throws on failure.
    void openHandle(const QString& path, int flags);
    // The first read of the file; throws when it fails.
    void readSchema();
    sqlite3_stmt* takeCached(const QString& sql);
    void giveBack(const QString& sql, sqlite3_stmt* stmt);
    sqlite3* db_ = nullptr;
    QString path_;
    // Statements kept prepared for queries that run again and again (an import's title test).
    std::unordered_map<QString, sqlite3_stmt*> cache_;
};

class Query {
public:
    // Reuse the connection's prepared statement for this SQL (for statements run many times).
    struct Cached {};

    Query(Connection& connection, const QString& sql);
    Query(Connection& connection, const QString& sql, Cached);
    Query(Connection& connection, const QString& sql, Cached, std::initializer_list<QVariant> values);
    // Prepares and binds the values to ?1, ?2 ... in order.
    Query(Connection& connection, const QString& sql, std::initializer_list<QVariant> values);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& bind(int index, const QVariant& value); // 1-based
    Query& bind(const QString& name, const QVariant& value); // ":name"
    void reset(); // ready to run again with new values

    bool next();   // steps to the next row; false when there is none
    void exec();   // runs to completion (statements that return no rows)

    int columnCount() const;
    QString columnName(int index) const;
    QVariant value(int index) const;
    QVariant value(const QString& column) const; // letter case ignored; throws for an unknown column
    QString text(const QString& column) const;  // "" for NULL
    QString text(int index) const;              // "" for NULL
    bool isNull(const QString& column) const;
    int columnIndex(const QString& column) const; // -1 when absent
    bool sharesConnectionWith(const Query& other) const { return db_ == other.db_; }

private:
    void check(int rc) const;
    void hold(int index, QByteArray bytes); // kept while SQLite may read them
    void prepare(const QString& sql);
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    Connection* cachedBy_ = nullptr; // the statement goes back to this connection's cache
    QString sql_;
    mutable QHash<QString, int> columns_;
    // The bytes of the bound texts and blobs, by parameter index: SQLite reads them in place until the
    // query is reset or finalized, so a large value is not copied once more.
    std::vector<QByteArray> bound_;
};

// A transaction that ends when it leaves scope: rolled back, or committed when the policy says so
// (bulk writes whose earlier rows must survive a later failure commit on every way out).
class Transaction {
public:
    enum class OnScopeExit { Rollback, Commit };
    // Deferred takes the write lock at the first write; Immediate takes it at once, so that the busy timeout
    // applies before the first read (bulk writes: imports, mark loops, clearing marks).
    enum class Lock { Deferred, Immediate };
    explicit Transaction(Connection& connection, OnScopeExit policy = OnScopeExit::Rollback,
                         Lock lock = Lock::Deferred);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();   // a failed COMMIT rolls back before it throws
    void rollback();

private:
    Connection& connection_;
    OnScopeExit policy_;
    bool open_ = true;
};

// An AppError for SQLite's last error on the connection.
AppError lastError(sqlite3* db, int rc);

// How long a connection opened from now on waits for another connection's lock before it fails with
// "database is locked" (5 seconds unless changed; tests shorten it).
void setBusyTimeout(int milliseconds);
int busyTimeout();

// True when the error is a failure of the database or the disk itself (locked or busy, read-only, full,
// I/O error, damaged or foreign file, cannot open, a missing table) rather than a fault of the values
// written (a constraint such as a duplicate title, a value too big, a type mismatch): a bulk write ends
// on the first and skips the row on the second.
bool isStorageFailure(const AppError& error);

} // namespace db
