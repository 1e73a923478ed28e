#pragma once
// The program's own exchange file: a recordset of the Recipes table saved as an ADO XML rowset. The
// root `xml` holds the schema (`s:Schema`) and then `rs:data` with one `z:row` per record; every
// non-Null value is an attribute of its row named after its column, a missing attribute is Null.
#include <QString>

namespace xmlrowset {

inline const QString kSchemaNs = QStringLiteral("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882"); // s
inline const QString kTypeNs = QStringLiteral("uuid:C2F41010-65B3-11d1-A29F-00AA00C14882");   // dt
inline const QString kRowsetNs = QStringLiteral("urn:schemas-microsoft-com:rowset");          // rs
inline const QString kRowNs = QStringLiteral("#RowsetSchema");                                // z

} // namespace xmlrowset
