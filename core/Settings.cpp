#include "core/Settings.h"

#include "platform/ini/ProfileFile.h"
#include "platform/paths/ProgramFolder.h"

namespace {
QString settingsFile() { return paths::resolve("\\TQSettings.ini"); }
}

QString ReadINI(const QString& section, const QString& key)
{
    return ini::readValue(settingsFile(), section, key);
}

void WriteINI(const QString& section, const QString& key, const QString& value)
{
    ini::writeValue(settingsFile(), section, key, value);
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
