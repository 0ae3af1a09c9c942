#pragma once

#include "ui/ini/TBigIniFile.h"
#include "ui/ini/TFont.h"

// The INI document with compound values: numbered lists, fonts as comma text,
// hexadecimal numbers, and renaming of keys and sections.
class TBiggerIniFile : public TBigIniFile
{
public:
    using TBigIniFile::TBigIniFile;

    // The value as hexadecimal digits (default: defaultValue as 8 digits). Malformed
    // text raises HVException("'$...' is not a valid integer value").
    virtual qint32 ReadHexValue(const QString &section, const QString &key, qint32 defaultValue);
    virtual TFont &ReadFont(const QString &section, const QString &key, TFont &font);
    // Appends Count (or prefix + "Count") values read from prefix + number keys,
    // numbers from firstNumber on. The target is not cleared.
    virtual void ReadNumberedList(const QString &section, QStringList &target, bool countKeyHasPrefix,
                                  int firstNumber, const QString &prefix, const QString &defaultValue);
    virtual void RenameKey(const QString &section, const QString &oldKey, const QString &newKey);
    virtual void RenameSection(const QString &oldName, const QString &newName);
    virtual void WriteBoolUnlessDefault(const QString &section, const QString &key, bool value, bool defaultValue);
    virtual void WriteHexValue(const QString &section, const QString &key, qint32 value);
    virtual void WriteFont(const QString &section, const QString &key, const TFont &font);
    // Rewriting an unchanged list leaves the document unchanged.
    virtual void WriteNumberedList(const QString &section, const QStringList &source, bool countKeyHasPrefix,
                                   int firstNumber, const QString &prefix);
    // Replaces the section's lines; the document changes only when a line differs.
    virtual void WriteSectionValues(const QString &section, const QStringList &source);
};
