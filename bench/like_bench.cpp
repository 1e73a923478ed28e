// The program's case-folding LIKE against SQLite's own, on ordinary and on backtracking patterns.
// Prints "name value unit" per figure (median of several runs) and the ratio to SQLite's own.
#include "Median.h"
#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

const int Rows = 2000;

double ownLike(db::Connection& cn, const QString& pattern)
{
    return bench::medianMs([&] {
        db::Query q(cn, "SELECT count(*) FROM T WHERE X LIKE ?1", {pattern});
        q.next();
    });
}

double sqliteLike(sqlite3* raw, const QString& pattern)
{
    const QByteArray utf8 = pattern.toUtf8();
    return bench::medianMs([&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, "SELECT count(*) FROM T WHERE X LIKE ?1", -1, &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        sqlite3_step(stmt);
        sqlite3_finalize(stmt);
    });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("like.db");
    db::Connection cn;
    cn.create(path);
    cn.exec("CREATE TABLE T (X TEXT)");
    {
        db::Transaction t(cn);
        db::Query insert(cn, "INSERT INTO T VALUES (?1)");
        for (int i = 0; i < Rows; ++i) {
            insert.reset();
            insert.bind(1, i % 10 == 0 ? QString(300, 'a') : "Chocolate cake with cream, batch " + QString::number(i));
            insert.exec();
        }
        t.commit();
    }
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);

    const struct {
        const char* name;
        QString pattern;
    } cases[] = {
        {"like_substring", "%cream%"},
        {"like_backtracking", "a%a%a%a%b"},
        {"like_many_runs", QString("%a").repeated(20) + "%b"},
    };
    for (const auto& c : cases) {
        const double own = ownLike(cn, c.pattern);
        const double builtin = sqliteLike(raw, c.pattern);
        std::printf("%s %.2f ms\n", c.name, own);
        std::printf("%s_sqlite %.2f ms\n", c.name, builtin);
        std::printf("%s_ratio %.2f ratio\n", c.name, builtin > 0 ? own / builtin : 0.0);
    }
    sqlite3_close(raw);
    return 0;
}
