#include "core/Settings.h"

#include "core/basMain.h"
#include "platform/ini/ProfileFile.h"
#include "platform/paths/ProgramFolder.h"

namespace {
QString settingsFile() { return paths::resolve("\\TQSettings.ini"); }
}

QString ReadINI(const QString& section, const QString& key)
{
    return ini::readValue(settingsFile(), section, key);
}

bool WriteINI(const QString& section, const QString& key, const QString& value)
{
    return WriteINI(section, {{key, value}});
}

bool WriteINI(const QString& section, const QList<std::pair<QString, QString>>& values)
{
    try {
        return ini::writeValues(settingsFile(), section, values);
    } catch (...) {
        basMain::LogCurrentException("WriteINI");
        return false;
    }
}

void WriteINIKeys(const QString& section, const QList<std::pair<QString, QString>>& values)
{
    if (!ini::writeValues(settingsFile(), section, values))
        throw AppError(AppError::InvalidProcedureCall, "Invalid procedure call or argument");
}

bool toBoolean(const QString& value, bool* ok)
{
    const QString t = value.trimmed();
    *ok = true;
    if (t.compare("True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare("False", Qt::CaseInsensitive) == 0)
        return false;
    const double number = t.toDouble(ok);
    return *ok && number != 0;
}
