#include "platform/system/UserRegistry.h"

#include "ui/ini/TBigIniFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString ConfigHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid by the base-directory rules and ignored.
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace

QString UserRegistryFileName()
{
    return ConfigHome() + QStringLiteral("/Halvren/registry.ini");
}

QString ReadUserRegistryString(const QString &keyPath, const QString &valueName, const QString &defaultValue)
{
    TBigIniFile ini(UserRegistryFileName());
    return ini.ReadString(keyPath, valueName, defaultValue);
}

int ReadUserRegistryInteger(const QString &keyPath, const QString &valueName, int defaultValue)
{
    TBigIniFile ini(UserRegistryFileName());
    return ini.ReadInteger(keyPath, valueName, defaultValue);
}

bool UserRegistryValueExists(const QString &keyPath, const QString &valueName)
{
    TBigIniFile ini(UserRegistryFileName());
    return ini.ValueExists(keyPath, valueName);
}

void WriteUserRegistryString(const QString &keyPath, const QString &valueName, const QString &value)
{
    const QString fileName = UserRegistryFileName();
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    TBigIniFile ini(fileName);
    ini.WriteString(keyPath, valueName, value);
    ini.FlushFile();
}

void WriteUserRegistryInteger(const QString &keyPath, const QString &valueName, int value)
{
    WriteUserRegistryString(keyPath, valueName, QString::number(value));
}
