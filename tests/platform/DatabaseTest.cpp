#include "platform/db/Database.h"
#include "platform/db/UnicodeLike.h"
#include "support/TestFiles.h"
#include "support/TestQueries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>
#include <sqlite3.h>

class Database : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = dir.path() + "/test.db";
        cn.create(file);
        cn.exec("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, NAME TEXT COLLATE NOCASE, N INTEGER, "
                "X REAL, PIC BLOB)");
    }
    QTemporaryDir dir;
    QString file;
    db::Connection cn;
};

TEST_F(Database, BoundValuesComeBackAsStored)
{
    const QByteArray blob("\x00\x01\xff\x00 picture", 12);
    const QString name = QString::fromUtf8("O'Brien's \"Cr\u00e8me\"; DROP TABLE T; --");
    db::Query(cn, "INSERT INTO T (NAME, N, X, PIC) VALUES (?1, ?2, ?3, ?4)", {name, true, 2.5, blob}).exec();
    db::Query(cn, "INSERT INTO T (NAME, N, X, PIC) VALUES (?1, ?2, ?3, ?4)", {QString(""), QVariant(), 7, QByteArray()})
        .exec();

    db::Query q(cn, "SELECT * FROM T ORDER BY ID");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text("name"), name);
    EXPECT_EQ(q.value("N").toLongLong(), 1);
    EXPECT_DOUBLE_EQ(q.value("x").toDouble(), 2.5);
    EXPECT_EQ(q.value("Pic").toByteArray(), blob);
    ASSERT_TRUE(q.next());
    EXPECT_FALSE(q.isNull("NAME")) << "an empty text is stored as text, not NULL";
    EXPECT_EQ(q.text("NAME"), "");
    EXPECT_TRUE(q.isNull("N"));
    EXPECT_EQ(q.text("N"), "");
    EXPECT_FALSE(q.next());
    EXPECT_EQ(scalar(cn, "SELECT count(*) FROM T"), 2) << "the name was data, not SQL";
}

// Bound texts and blobs are read in place by SQLite: they must outlive the caller's values and a rebinding,
// and be let go only with the binding.
TEST_F(Database, BoundValuesOutliveTheCallersCopies)
{
    const QString big(3 * 1024 * 1024, QChar(0x00e8));
    for (int run = 0; run < 2; ++run) {
        db::Query insert(cn, "INSERT INTO T (NAME, PIC) VALUES (:name, ?2)", db::Query::Cached{});
        insert.bind(":name", QString("first")).bind(2, QByteArray("old"));
        insert.bind(":name", QString(big) + QString::number(run)).bind(2, QByteArray(1000, char('a' + run)));
        EXPECT_THROW(insert.bind(3, QString("no such parameter")), AppError);
        insert.exec();
        insert.reset();
        insert.bind(1, QString("after reset %1").arg(run)).exec();
    }
    QStringList names;
    QList<QByteArray> pictures;
    db::Query q(cn, "SELECT NAME, PIC FROM T ORDER BY ID");
    while (q.next()) {
        names << q.text("NAME");
        pictures << q.value("PIC").toByteArray();
    }
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names[0], big + "0");
    EXPECT_EQ(names[1], "after reset 0");
    EXPECT_EQ(names[2], big + "1");
    EXPECT_EQ(pictures[0], QByteArray(1000, 'a'));
    EXPECT_TRUE(pictures[1].isEmpty()) << "a reset clears the bindings";
    EXPECT_EQ(pictures[2], QByteArray(1000, 'b'));
}

TEST_F(Database, ColumnNamesIgnoreCaseAndUnknownOnesRaise)
{
    cn.exec("CREATE TABLE U (ID INTEGER, NAME TEXT); INSERT INTO U VALUES (1, 'second table'); "
            "INSERT INTO T (ID, NAME) VALUES (1, 'first table')");
    db::Query q(cn, "SELECT * FROM T JOIN U ON T.ID = U.ID");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text("Name"), "first table") << "the first of two columns of one name";
    EXPECT_EQ(q.columnIndex("nAmE"), 1);
    try {
        q.value("NOSUCH");
        FAIL() << "an unknown column gave a value";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 3265);
    }
}

TEST_F(Database, ErrorsCarryNegativeNumbers)
{
    try {
        db::Query(cn, "SELECT * FROM NOSUCH");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_LT(e.number, 0);
        EXPECT_TRUE(e.description.contains("NOSUCH"));
    }
}

TEST_F(Database, LikeIgnoresCaseAndAccentsBeyondAscii)
{
    struct Case {
        const char* text;
        const char* pattern;
        const char* escape; // nullptr: no ESCAPE clause
        bool matches;
    };
    const Case cases[] = {
        {"Cr\u00e8me Br\u00fbl\u00e9e", "CR\u00c8ME%", nullptr, true},
        {"\u00c9clair", "%\u00e9clair", nullptr, true},
        {"Stra\u00dfe", "STRA\u00dfE", nullptr, true},
        {"Apple Pie", "apple pie", nullptr, true},
        {"Apple Pie", "%PIE%", nullptr, true},
        {"Apple Pie", "%pies%", nullptr, false},
        {"Caf\u00e9", "Caf_", nullptr, true},          // "_" is one character, not one byte
        {"Caf\u00e9", "Caf__", nullptr, false},
        {"", "%", nullptr, true},
        {"", "_", nullptr, false},
        {"abc", "a%c%", nullptr, true},
        {"100%", "100\\%", "\\", true},
        {"1000", "100\\%", "\\", false},
        {"a_b", "a\\_b", "\\", true},
        {"axb", "a\\_b", "\\", false},
        {"50% off", "%!%%", "!", true},
        {"a\\b", "a\\\\b", "\\", true},
        {"ab\\", "ab\\", "\\", false},        // a lone escape at the end matches nothing
        {"mississippi", "%iss%ppi", nullptr, true},
        {"mississippi", "%iss%ipi", nullptr, false},
        {"aXbXc", "%x_x", nullptr, false},
        {"aXbXc", "%x_x_", nullptr, true},
        {"\u00c9t\u00e9 %", "%\u00e9 \\%", "\\", true},
        // Accents, ligatures and compatibility forms fold on both sides; the wildcards stay as written.
        {"Cr\u00e8me br\u00fbl\u00e9e", "creme brulee", nullptr, true},
        {"Creme", "cr\u00e8me", nullptr, true},
        {"B\u0153uf", "boeuf", nullptr, true},
        {"\u00c4pfel", "apfel", nullptr, true},
        {"Stra\u00dfe", "strasse", nullptr, true},
        {"Stra\u00dfe", "stra_e", nullptr, true},          // "_" is the one letter "\u00df" as written
        {"Strasse", "stra_e", nullptr, false},
        {"\uFB01let", "filet", nullptr, true},             // the "fi" ligature
        {"Cre\u0300me", "cr\u00e8me", nullptr, true},       // a decomposed accent
        {"50 off", "50\uFF05", nullptr, false},             // a full-width percent sign is no wildcard
        {"50% off", "50\uFF05%", nullptr, true},
        {"\u039C\u03BF\u03C5\u03C3\u03B1\u03BA\u03AC\u03C2", "\u03BC\u03BF\u03C5\u03C3\u03B1\u03BA\u03B1\u03C3", nullptr, true},
        {"\u5BFF\u53F8", "%\u53F8", nullptr, true},
        {"Eclair", "\u00e9\\_", "\\", false},
        // Latin letters without a decomposition are typed as their plain letters; I, ı, İ and i are one.
        {"\u0141oso\u015b", "losos", nullptr, true},
        {"\u0141\u00f3d\u017a", "LODZ", nullptr, true},
        {"\u00d8resund", "oresund", nullptr, true},
        {"\u0110akovo", "dakovo", nullptr, true},
        {"\u0126amrun", "hamrun", nullptr, true},
        {"\u00c6bleskiver", "aebleskiver", nullptr, true},
        {"\u00deorramatur", "thorramatur", nullptr, true},
        {"Patl\u0131can", "PATLICAN", nullptr, true},
        {"Irmik", "\u0131rm\u0131k", nullptr, true},
        {"\u0130\u00e7li k\u00f6fte", "icli%", nullptr, true},
        {"Lody", "\u0142ody", nullptr, true},
        {"Stra\u00dfburger", "STRASSBURGER", nullptr, true},
        {"\u0401\u043b\u043a\u0430", "\u0435\u043b\u043a\u0430", nullptr, true}, // Cyrillic: the diaeresis
        {"\u0643\u064e\u0628\u0627\u0628", "\u0643\u0628\u0627\u0628", nullptr, true}, // Arabic: the vowel points
        // A kana's voicing mark is part of the letter, precomposed, decomposed or half-width alike.
        {"\u30cf\u30f3\u30d0\u30fc\u30b0", "%\u30d1\u30f3%", nullptr, false},
        {"\u30d1\u30f3\u30b1\u30fc\u30ad", "\u30d1\u30f3%", nullptr, true},
        {"\u30d1\u30f3\u30b1\u30fc\u30ad", "\u30cf\u30f3%", nullptr, false},
        {"\u30cf\u309a\u30f3", "\u30d1\u30f3", nullptr, true},
        {"\uff8a\uff9f\uff9d", "\u30d1\u30f3", nullptr, true},
        {"\u304c\u3063\u3053\u3046", "\u304b%", nullptr, false},
    };
    for (const Case& c : cases) {
        const QString sql = c.escape ? "SELECT ?1 LIKE ?2 ESCAPE ?3" : "SELECT ?1 LIKE ?2";
        db::Query q(cn, sql);
        q.bind(1, QString::fromUtf8(c.text)).bind(2, QString::fromUtf8(c.pattern));
        if (c.escape)
            q.bind(3, QString::fromUtf8(c.escape));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), c.matches ? 1 : 0) << c.text << " LIKE " << c.pattern;
    }
    db::Query null(cn, "SELECT NULL LIKE 'a'");
    ASSERT_TRUE(null.next());
    EXPECT_TRUE(null.value(0).isNull());
}

TEST_F(Database, LikeStaysLinearWhateverThePattern)
{
    // Backtracking over every "%" takes for ever here; the answer must come at once.
    const QString text(300, 'a');
    const struct {
        QString pattern;
        bool matches;
    } cases[] = {
        {"a%a%a%a%b", false},
        {QString("%a").repeated(40) + "%b", false},
        {QString("%a").repeated(40) + "%", true},
        {QString("%_").repeated(299) + "%", true},
        {QString("_").repeated(301), false},
    };
    for (const auto& c : cases) {
        db::Query q(cn, "SELECT ?1 LIKE ?2", {text, c.pattern});
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), c.matches ? 1 : 0) << c.pattern.left(40).toStdString();
    }
    EXPECT_EQ(db::likeLiteral("50%_off\\x"), "50\\%\\_off\\\\x");
}

TEST_F(Database, FailuresOfTheStoreAreToldFromFaultsOfTheValues)
{
    cn.exec("CREATE TABLE R (TITLE TEXT NOT NULL UNIQUE, AUTHOR TEXT CHECK (length(AUTHOR) <= 5))");
    cn.exec("INSERT INTO R VALUES ('Pie', 'Ann')");
    const auto errorOf = [](const std::function<void()>& step) {
        try {
            step();
        } catch (const AppError& e) {
            return e;
        }
        return AppError(0, "no error");
    };
    // Faults of one row's values: that row is skipped, the run goes on.
    for (const char* sql : {"INSERT INTO R VALUES ('Pie', 'Bo')", "INSERT INTO R VALUES ('Tart', 'Too long')",
                            "INSERT INTO R VALUES (NULL, 'Bo')"}) {
        const AppError e = errorOf([&] { cn.exec(sql); });
        EXPECT_LT(e.number, 0) << sql;
        EXPECT_FALSE(db::isStorageFailure(e)) << sql;
    }
    // Failures of the store: the run ends.
    db::setBusyTimeout(20);
    db::Connection other;
    other.open(file);
    db::setBusyTimeout(5000);
    {
        db::Transaction held(cn, db::Transaction::OnScopeExit::Rollback, db::Transaction::Lock::Immediate);
        const AppError busy = errorOf([&] { other.exec("INSERT INTO R VALUES ('Flan', 'Cy')"); });
        EXPECT_TRUE(db::isStorageFailure(busy)) << busy.description.toStdString();
    }
    other.close();
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    if (getuid() != 0) { // root writes whatever the permissions say
        other.open(file);
        const AppError readOnly = errorOf([&] { other.exec("INSERT INTO R VALUES ('Flan', 'Cy')"); });
        EXPECT_TRUE(db::isStorageFailure(readOnly)) << readOnly.description.toStdString();
    }
    EXPECT_TRUE(db::isStorageFailure(errorOf([&] { cn.exec("SELECT * FROM NOSUCH"); })));
    EXPECT_TRUE(db::isStorageFailure(AppError(AppError::PathNotFound, "Path not found")));
    EXPECT_FALSE(db::isStorageFailure(AppError(AppError::TypeMismatch, "Type mismatch")));
}

TEST_F(Database, OpeningNeverCreatesAFile)
{
    db::Connection other;
    const QString missing = dir.path() + "/missing.db";
    try {
        other.open(missing);
        FAIL() << "a missing file opened";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, 53);
    }
    EXPECT_FALSE(other.isOpen());
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(Database, DamagedFilesFailAtOpenAndStayUntouched)
{
    db::Query(cn, "INSERT INTO T (NAME, PIC) VALUES ('big', ?1)", {QByteArray(64 * 1024, 'p')}).exec();
    cn.close();
    const QByteArray good = readBytes(file);

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty.db", QByteArray()},
        {"text.db", "This is not a database at all.\r\n"},
        {"random.db", QByteArray(8192, '\x5a')},
        {"cut.db", good.left(good.size() / 2)},
        {"header-only.db", good.left(100)},
    };
    for (const Case& c : cases) {
        const QString path = dir.path() + '/' + c.name;
        writeBytes(path, c.bytes);
        db::Connection damaged;
        try {
            damaged.open(path);
            FAIL() << c.name << " opened";
        } catch (const AppError& e) {
            EXPECT_LT(e.number, 0) << c.name;
        }
        EXPECT_FALSE(damaged.isOpen()) << c.name;
        EXPECT_EQ(readBytes(path), c.bytes) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList({QString(c.name) + "-*"}, QDir::Files), QStringList()) << c.name;
    }

    db::Connection whole;
    whole.open(file);
    EXPECT_EQ(scalar(whole, "SELECT count(*) FROM T"), 1);
}

TEST_F(Database, TransactionsRollBackUnlessCommitted)
{
    {
        db::Transaction t(cn);
        db::Query(cn, "INSERT INTO T (NAME) VALUES ('rolled back')").exec();
    }
    {
        db::Transaction t(cn);
        db::Query(cn, "INSERT INTO T (NAME) VALUES ('committed')").exec();
        t.commit();
    }
    try {
        db::Transaction t(cn, db::Transaction::OnScopeExit::Commit);
        db::Query(cn, "INSERT INTO T (NAME) VALUES ('kept before the failure')").exec();
        db::Query(cn, "INSERT INTO NOSUCH VALUES (1)").exec();
    } catch (const AppError&) {
    }
    db::Query q(cn, "SELECT NAME FROM T ORDER BY ID");
    QStringList names;
    while (q.next())
        names << q.text("NAME");
    EXPECT_EQ(names, (QStringList{"committed", "kept before the failure"}));
    // No transaction is left open on the connection.
    db::Transaction again(cn);
    again.commit();
}

TEST_F(Database, AFailedCommitLeavesNoTransactionOpen)
{
    // A second connection holds a read lock, so the first cannot commit its write.
    db::Connection reader;
    reader.open(file);
    db::Query(cn, "INSERT INTO T (NAME) VALUES ('one')").exec();
    reader.exec("BEGIN");
    db::Query hold(reader, "SELECT * FROM T");
    ASSERT_TRUE(hold.next());
    sqlite3_busy_timeout(cn.handle(), 0); // fail at once rather than wait for the lock
    db::Transaction t(cn);
    db::Query(cn, "INSERT INTO T (NAME) VALUES ('two')").exec();
    EXPECT_THROW(t.commit(), AppError);
    hold.reset();
    reader.exec("COMMIT");
    // The connection is usable again outside any transaction.
    db::Query(cn, "INSERT INTO T (NAME) VALUES ('three')").exec();
    EXPECT_EQ(scalar(reader, "SELECT count(*) FROM T"), 2);
}
