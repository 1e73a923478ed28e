#include "exchange/ExchangeFrame.h"

#include "core/basDatabase.h"
#include "core/basMain.h"
#include "platform/text/FileRegistry.h"
#include "platform/text/TextRules.h"

#include <QCoreApplication>
#include <QElapsedTimer>

// ---------------------------------------------------------------- cImport
namespace {
cImport::YieldHook& yieldHook()
{
    static cImport::YieldHook hook = [] {
        static QElapsedTimer since;
        if (!since.isValid() || since.elapsed() >= 50) {
            QCoreApplication::processEvents();
            since.restart();
        }
    };
    return hook;
}
} // namespace

cImport::YieldHook cImport::setYieldHook(YieldHook hook)
{
    YieldHook previous = yieldHook();
    yieldHook() = std::move(hook);
    return previous;
}

void cImport::yieldToEventLoop()
{
    if (yieldHook())
        yieldHook()();
}

void cImport::raiseProcessing()
{
    Q_EMIT Processing(basMain::lRecipesFound, basMain::lRecipesImported, basMain::lRecipesSkipped);
}

QString cImport::RemoveDoubleSpaces(const QString& text)
{
    QString s = text;
    while (s.contains(QLatin1String("  ")))
        s.replace(QLatin1String("  "), QLatin1String(" "));
    return s;
}

QString cImport::ColumnsToList(const QString& text)
{
    QStringList kept;
    for (const QString& piece : text.split(QLatin1String("  "))) {
        const QString t = text::trimBlanks(piece);
        if (!t.isEmpty())
            kept << t;
    }
    return kept.join(',');
}

// ---------------------------------------------------------------- reader frame
namespace {
void zeroCounters()
{
    basMain::lRecipesFound = 0;
    basMain::lRecipesImported = 0;
    basMain::lRecipesSkipped = 0;
}
} // namespace

TextImportRun::TextImportRun(cImport& owner, const QString& path)
    : owner_(owner),
      in_((zeroCounters(), path)),
      transaction_(basDatabase::cnCookbook, db::Transaction::OnScopeExit::Commit)
{
}

TextImportRun::~TextImportRun() = default;

bool TextImportRun::scanning()
{
    return !in_.atEnd() && !basMain::bCancelImport;
}

void TextImportRun::recipeFound()
{
    ++basMain::lRecipesFound;
    owner_.raiseProcessing();
}

void TextImportRun::recipeSkipped()
{
    ++basMain::lRecipesSkipped;
    owner_.raiseProcessing();
}

void TextImportRun::recipeFailed()
{
    failed_ = true;
    recipeSkipped();
}

bool TextImportRun::insertRecipe(const RecipeColumns& columns)
{
    QStringList names;
    for (const auto& c : columns)
        names << c.first;
    const QString key = names.join(',');
    auto& query = inserts_[key];
    try {
        if (!query) {
            QStringList marks;
            for (int i = 1; i <= names.size(); ++i)
                marks << QString("?%1").arg(i);
            query = std::make_shared<db::Query>(
                basDatabase::cnCookbook,
                "INSERT INTO RECIPES (" + names.join(", ") + ") VALUES (" + marks.join(", ") + ")");
        }
        query->reset();
        for (int i = 0; i < columns.size(); ++i)
            query->bind(i + 1, columns[i].second);
        query->exec();
    } catch (const AppError&) {
        recipeFailed();
        return false;
    }
    ++basMain::lRecipesImported;
    owner_.raiseProcessing();
    return true;
}

bool TextImportRun::finish()
{
    inserts_.clear();
    transaction_.commit();
    in_.close();
    return !failed_;
}

// ---------------------------------------------------------------- writer frame
TextExportRun::TextExportRun(cExport& owner, const QString& path)
    : owner_(owner),
      rows_((text::closeAllFiles(), std::make_unique<db::Query>(basDatabase::cnCookbook,
                                                                 "SELECT * FROM RECIPES WHERE MARK=1"))),
      out_(path)
{
}

bool TextExportRun::next() { return rows_->next(); }

QString TextExportRun::field(const char* column) const { return rows_->text(column); }

QString TextExportRun::decoded(const char* column) const { return text::decodeApostrophes(field(column)); }

void TextExportRun::recipeWritten()
{
    ++count_;
    Q_EMIT owner_.Exported(count_);
}

void TextExportRun::finish()
{
    rows_.reset();
    out_.close();
}
