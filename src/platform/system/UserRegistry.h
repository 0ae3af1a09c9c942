#pragma once

#include <QString>

// The current user's registry hive, kept as an INI document at
// $XDG_CONFIG_HOME/Halvren/registry.ini (default ~/.config/Halvren/registry.ini):
// one section per key path ("SOFTWARE\Halvren\Tarvik"), one key per value name.
// Writes go to the file at once; a failed write raises HVException.

QString UserRegistryFileName();

QString ReadUserRegistryString(const QString &keyPath, const QString &valueName, const QString &defaultValue);
int ReadUserRegistryInteger(const QString &keyPath, const QString &valueName, int defaultValue);
bool UserRegistryValueExists(const QString &keyPath, const QString &valueName);
void WriteUserRegistryString(const QString &keyPath, const QString &valueName, const QString &value);
void WriteUserRegistryInteger(const QString &keyPath, const QString &valueName, int value);
