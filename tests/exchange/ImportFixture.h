#pragma once
// What the exchange tests share: a scratch program with an open, empty cookbook, import counters and the
// cancel request reset around each test, the event-loop yield replaced by a counter, and small file and
// row helpers.
#include "support/ScratchProgram.h"
#include "support/TestFiles.h"
#include "support/UiRecorder.h"

#include "core/basDatabase.h"
#include "core/basMain.h"
#include "exchange/cImport.h"

#include <QStringList>
#include <QVariantMap>
#include <gtest/gtest.h>

class ImportFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShared();
        previousHook_ = cImport::setYieldHook([this] { ++yields; });
        program.createCookbook();
    }
    void TearDown() override
    {
        cImport::setYieldHook(previousHook_);
        resetShared();
    }
    static void resetShared()
    {
        basMain::lRecipesFound = basMain::lRecipesImported = basMain::lRecipesSkipped = 0;
        basMain::bCancelImport = false;
    }

    // Writes the bytes to a file in the scratch folder and returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        const QString path = program.path(name);
        writeBytes(path, bytes);
        return path;
    }
    // The lines joined with CR LF, each line ended.
    static QByteArray crlf(const QStringList& lines)
    {
        QByteArray out;
        for (const QString& l : lines)
            out += l.toUtf8() + "\r\n";
        return out;
    }

    // Every recipe row in ID order, each as column name (upper case) -> value.
    static QList<QVariantMap> recipes()
    {
        QList<QVariantMap> rows;
        db::Query q(basDatabase::cnCookbook, "SELECT * FROM RECIPES ORDER BY ID");
        while (q.next()) {
            QVariantMap row;
            for (int i = 0; i < q.columnCount(); ++i)
                row.insert(q.columnName(i).toUpper(), q.value(i));
            rows << row;
        }
        return rows;
    }
    static QList<qint32> counters()
    {
        return {basMain::lRecipesFound, basMain::lRecipesImported, basMain::lRecipesSkipped};
    }

    ScratchProgram program;
    UiRecorder recorder;
    cImport importer;
    int yields = 0;

private:
    cImport::YieldHook previousHook_;
};
