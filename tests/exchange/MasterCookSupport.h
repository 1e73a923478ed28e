#pragma once
// What the MasterCook tests share: a scratch program with an open cookbook, files written into it, and
// the stored recipe rows.
#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/cImport.h"
#include "platform/text/Codec.h"
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace mastercook_test {

// A stored recipe, as the MasterCook reader fills it.
struct Row {
    QString title, author, prepTime, category, yield, ingredients, instructions;
    bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& r, std::ostream* os)
{
    *os << '{' << (QStringList{r.title, r.author, r.prepTime, r.category, r.yield, r.ingredients, r.instructions}
                       .join(" | ")
                       .replace("\r\n", "\\r\\n")
                       .replace('\t', "\\t")
                       .toStdString())
        << '}';
}

inline QList<Row> storedRows()
{
    QList<Row> rows;
    db::Query q(basDatabase::cnCookbook, "SELECT * FROM RECIPES ORDER BY ID");
    while (q.next())
        rows << Row{q.text("Title"), q.text("Author"), q.text("PrepTime"), q.text("Category"),
                    q.text("Yield"), q.text("Ingredients"), q.text("Instructions")};
    return rows;
}

struct Counters {
    qint32 found, imported, skipped;
    bool operator==(const Counters&) const = default;
};

inline void PrintTo(const Counters& c, std::ostream* os)
{
    *os << "found " << c.found << ", imported " << c.imported << ", skipped " << c.skipped;
}

inline Counters counters()
{
    return {basMain::lRecipesFound, basMain::lRecipesImported, basMain::lRecipesSkipped};
}

class Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.createCookbook("Kitchen");
        previousHook = cImport::setYieldHook([this] { ++yields; });
    }
    void TearDown() override
    {
        cImport::setYieldHook(previousHook);
        basMain::bCancelImport = false;
    }

    // Writes bytes to a file in the scratch folder and returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = program.path("files/" + name);
        writeBytes(path, bytes);
        return path;
    }
    // Lines as an 8-bit text file with CR LF line ends.
    QString writeLines(const QString& name, const QStringList& lines)
    {
        return writeFile(name, text::encodeWithReferences(lines.join("\r\n") + "\r\n", "windows-1252"));
    }

    ScratchProgram program;
    cImport importer;
    int yields = 0;
    cImport::YieldHook previousHook;
};

} // namespace mastercook_test
