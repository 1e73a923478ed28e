// Writes the marked recipes as an ADO XML rowset: the schema of the Recipes columns, then one row per
// recipe with its values as stored ("$$" kept, so the file reads back unchanged). Exported counts the
// rows as they are written; a file without rows reports 0.
#include "exchange/XmlRowset.h"
#include "exchange/ExchangeFrame.h"
#include "exchange/cExport.h"
#include "exchange/cImport.h"

#include "core/Helpers.h"
#include "core/ProtectedFiles.h"
#include "core/basDatabase.h"
#include "platform/paths/FileReplacement.h"
#include "platform/paths/ProgramFolder.h"

#include <QBuffer>
#include <QXmlStreamWriter>

using namespace xmlrowset;

namespace {

enum class Kind { Text, Memo, AutoNumber, YesNo, Binary };

struct ColumnType {
    const char* name;
    Kind kind;
    int size; // characters of a Text column
    bool nullable;
};

// The Recipes columns of the cookbook format.
constexpr ColumnType kRecipeColumns[] = {
    {"Author", Kind::Text, 50, false},       {"CaloriesPerServing", Kind::Text, 255, true},
    {"Category", Kind::Memo, 0, false},      {"CookTime", Kind::Text, 50, true},
    {"Favourite", Kind::YesNo, 0, false},    {"ID", Kind::AutoNumber, 0, false},
    {"Ingredients", Kind::Memo, 0, false},   {"Instructions", Kind::Memo, 0, false},
    {"Mark", Kind::YesNo, 0, false},         {"Origin", Kind::Text, 50, true},
    {"PictureName", Kind::Text, 255, true},  {"PrepTime", Kind::Text, 50, true},
    {"RecipePicture", Kind::Binary, 0, true}, {"Title", Kind::Memo, 0, false},
    {"TotalTime", Kind::Text, 50, true},     {"Wine", Kind::Text, 50, true},
    {"Yield", Kind::Text, 50, true},
};

ColumnType columnType(const QString& name)
{
    for (const ColumnType& c : kRecipeColumns)
        if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c;
    return {nullptr, Kind::Memo, 0, true};
}

// XML 1.0 cannot carry control characters other than tab, CR and LF, nor U+FFFE, U+FFFF or a lone
// surrogate (old recipe files bring in Ctrl-Z and form feeds): they are left out.
QString xmlSafe(const QString& s)
{
    auto allowedAt = [&s](qsizetype i) {
        const char16_t c = s[i].unicode();
        if (c < 0x20)
            return c == '\t' || c == '\n' || c == '\r';
        if (c == 0xFFFE || c == 0xFFFF)
            return false;
        if (QChar::isHighSurrogate(c))
            return i + 1 < s.size() && s[i + 1].isLowSurrogate();
        if (QChar::isLowSurrogate(c))
            return i > 0 && s[i - 1].isHighSurrogate();
        return true;
    };
    qsizetype i = 0;
    while (i < s.size() && allowedAt(i))
        ++i;
    if (i == s.size())
        return s;
    QString out = s.left(i);
    for (; i < s.size(); ++i)
        if (allowedAt(i))
            out += s[i];
    return out;
}

void writeAttributeType(QXmlStreamWriter& xml, const QString& name, int number)
{
    const ColumnType type = columnType(name);
    xml.writeStartElement(kSchemaNs, "AttributeType");
    xml.writeAttribute("name", name);
    xml.writeAttribute(kRowsetNs, "number", QString::number(number));
    if (type.nullable)
        xml.writeAttribute(kRowsetNs, "nullable", "true");
    xml.writeAttribute(kRowsetNs, "writeunknown", "true");
    xml.writeAttribute(kRowsetNs, "basetable", "Recipes");
    xml.writeAttribute(kRowsetNs, "basecolumn", name);
    if (type.kind == Kind::AutoNumber) {
        xml.writeAttribute(kRowsetNs, "keycolumn", "true");
        xml.writeAttribute(kRowsetNs, "autoincrement", "true");
    }

    xml.writeEmptyElement(kSchemaNs, "datatype");
    switch (type.kind) {
    case Kind::Text:
        xml.writeAttribute(kTypeNs, "type", "string");
        xml.writeAttribute(kTypeNs, "maxLength", QString::number(type.size));
        break;
    case Kind::Memo:
        xml.writeAttribute(kTypeNs, "type", "string");
        xml.writeAttribute(kTypeNs, "maxLength", "536870910");
        xml.writeAttribute(kRowsetNs, "long", "true");
        break;
    case Kind::AutoNumber:
        xml.writeAttribute(kTypeNs, "type", "int");
        xml.writeAttribute(kTypeNs, "maxLength", "4");
        xml.writeAttribute(kRowsetNs, "precision", "10");
        xml.writeAttribute(kRowsetNs, "fixedlength", "true");
        break;
    case Kind::YesNo:
        xml.writeAttribute(kTypeNs, "type", "boolean");
        xml.writeAttribute(kTypeNs, "maxLength", "2");
        xml.writeAttribute(kRowsetNs, "fixedlength", "true");
        break;
    case Kind::Binary:
        xml.writeAttribute(kTypeNs, "type", "bin.hex");
        xml.writeAttribute(kTypeNs, "maxLength", "1073741823");
        xml.writeAttribute(kRowsetNs, "long", "true");
        break;
    }
    if (!type.nullable)
        xml.writeAttribute(kRowsetNs, "maybenull", "false");
    xml.writeEndElement();
}

QString valueText(const QVariant& value, Kind kind)
{
    switch (kind) {
    case Kind::AutoNumber:
        return QString::number(value.toLongLong());
    case Kind::YesNo:
        return value.toLongLong() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Binary:
        return QString::fromLatin1(value.toByteArray().toHex());
    default:
        return xmlSafe(value.toString());
    }
}

[[noreturn]] void throwWriteError()
{
    throw AppError(AppError::PathFileAccess, "Path/File access error");
}

// The document's head (root, schema, the start of the data), written by QXmlStreamWriter into memory.
// With `withRow`, the data holds one empty row, which shows how the writer lays out a row; without, the
// document is whole.
QByteArray documentLayout(const db::Query& rows, bool withRow)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // No XML declaration: the document starts with its root, and is UTF-8.
    QXmlStreamWriter xml(&buffer);
    xml.writeStartElement("xml");
    xml.writeNamespace(kSchemaNs, "s");
    xml.writeNamespace(kTypeNs, "dt");
    xml.writeNamespace(kRowsetNs, "rs");
    xml.writeNamespace(kRowNs, "z");
    xml.setAutoFormatting(true); // from here on one element a line, a tab per level
    xml.setAutoFormattingIndent(-1);

    xml.writeStartElement(kSchemaNs, "Schema");
    xml.writeAttribute("id", "RowsetSchema");
    xml.writeStartElement(kSchemaNs, "ElementType");
    xml.writeAttribute("name", "row");
    xml.writeAttribute("content", "eltOnly");
    xml.writeAttribute(kRowsetNs, "updatable", "true");
    for (int i = 0; i < rows.columnCount(); ++i)
        writeAttributeType(xml, rows.columnName(i), i + 1);
    xml.writeEmptyElement(kSchemaNs, "extends");
    xml.writeAttribute("type", "rs:rowbase");
    xml.writeEndElement(); // ElementType
    xml.writeEndElement(); // Schema

    xml.writeStartElement(kRowsetNs, "data");
    if (withRow)
        xml.writeEmptyElement(kRowNs, "row");
    xml.writeEndElement(); // data
    xml.writeEndDocument();
    return bytes;
}

// A text value as an attribute value, in UTF-8: markup characters and the line-end and tab characters
// (which an attribute would otherwise lose to blanks) as references. Runs without them are copied whole.
void appendAttributeValue(QByteArray& out, const QString& value)
{
    const QString safe = xmlSafe(value);
    const QStringView text(safe);
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char* reference = nullptr;
        switch (text[i].unicode()) {
        case u'<': reference = "&lt;"; break;
        case u'>': reference = "&gt;"; break;
        case u'&': reference = "&amp;"; break;
        case u'"': reference = "&quot;"; break;
        case u'\t': reference = "&#9;"; break;
        case u'\n': reference = "&#10;"; break;
        case u'\r': reference = "&#13;"; break;
        default: continue;
        }
        out += text.sliced(from, i - from).toUtf8();
        out += reference;
        from = i + 1;
    }
    out += text.sliced(from).toUtf8();
}

// One row's attributes, as QXmlStreamWriter writes them: ` name="value"` for every value that is not Null.
void appendRowAttributes(QByteArray& out, const db::Query& rows, const QList<QByteArray>& names,
                         const QList<Kind>& kinds)
{
    for (int i = 0; i < names.size(); ++i) {
        const QVariant value = rows.value(i);
        if (value.isNull())
            continue;
        out += ' ';
        out += names[i];
        out += "=\"";
        switch (kinds[i]) {
        case Kind::Binary:
            out += value.toByteArray().toHex(); // nothing in it to escape
            break;
        case Kind::Text:
        case Kind::Memo:
            appendAttributeValue(out, value.toString());
            break;
        default:
            out += valueText(value, kinds[i]).toUtf8();
            break;
        }
        out += '"';
    }
}

} // namespace

void cExport::ExportXML(const QString& path)
{
    const QString target = paths::resolveAbsolute(path);
    RefuseProtectedFile(target);
    db::Query rows(basDatabase::cnCookbook, "SELECT * FROM RECIPES WHERE MARK=1");

    // The file only replaces an existing one once it is complete; any failure reaches the caller.
    paths::FileReplacement file(target);

    qint32 written = 0;
    if (!rows.next()) {
        file.append(documentLayout(rows, false));
    } else {
        // The rows are written here, in the layout QXmlStreamWriter gives the one row of the model
        // document, and streamed to the file as they go.
        const QByteArray layout = documentLayout(rows, true);
        const qsizetype rowAt = layout.indexOf("<z:row/>");
        const qsizetype lineAt = layout.lastIndexOf('\n', rowAt);
        if (rowAt < 0 || lineAt < 0)
            throwWriteError();
        const QByteArray rowIndent = layout.mid(lineAt, rowAt - lineAt); // line end and tabs
        file.append(QByteArrayView(layout).first(lineAt));

        QList<QByteArray> names;
        QList<Kind> kinds;
        for (int i = 0; i < rows.columnCount(); ++i) {
            names << rows.columnName(i).toUtf8();
            kinds << columnType(rows.columnName(i)).kind;
        }
        QByteArray row;
        do {
            row.resize(0);
            row += rowIndent;
            row += "<z:row";
            appendRowAttributes(row, rows, names, kinds);
            row += "/>";
            file.append(row);
            // The count moves as the rows go out, and the window repaints it.
            Q_EMIT Exported(++written);
            cImport::yieldToEventLoop();
        } while (rows.next());
        file.append(QByteArrayView(layout).sliced(rowAt + qstrlen("<z:row/>")));
    }
    runWhileAnswering([&file] { file.commit(); }); // a failure leaves the old file as it was

    if (written == 0) // no marked recipe: the count is told all the same
        Q_EMIT Exported(0);
}
