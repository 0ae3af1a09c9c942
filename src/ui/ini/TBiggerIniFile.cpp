#include "ui/ini/TBiggerIniFile.h"

#include "common/HVException.h"
#include "ui/ini/IniConvert.h"
#include "ui/ini/TCSIFont.h"

#include <QSet>

namespace {

// A count read from a document cannot make a list longer than this; a hostile or
// broken count must not make the reader allocate or loop without end.
constexpr qint32 kMaxListEntries = 1000000;

QString CountKey(bool countKeyHasPrefix, const QString &prefix)
{
    return countKeyHasPrefix ? prefix + QStringLiteral("Count") : QStringLiteral("Count");
}

// The number n when upperKey is upperPrefix followed by the decimal text of n.
bool NumberedKey(const QString &upperKey, const QString &upperPrefix, qint64 &n)
{
    if (!upperKey.startsWith(upperPrefix))
        return false;
    const QStringView digits = QStringView(upperKey).mid(upperPrefix.size());
    bool ok = false;
    n = digits.toLongLong(&ok);
    return ok && QString::number(n) == digits;
}

} // namespace

qint32 TBiggerIniFile::ReadHexValue(const QString &section, const QString &key, qint32 defaultValue)
{
    const QString text = QLatin1Char('$') + ReadString(section, key, IntToHex(defaultValue, 8));
    qint32 value;
    if (!TryStrToInt(text, value))
        throw HVException(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

TFont &TBiggerIniFile::ReadFont(const QString &section, const QString &key, TFont &font)
{
    TCSIFont(ReadString(section, key, QString())).ApplyTo(font);
    return font;
}

void TBiggerIniFile::ReadNumberedList(const QString &section, QStringList &target, bool countKeyHasPrefix,
                                      int firstNumber, const QString &prefix, const QString &defaultValue)
{
    const qint32 count = qMin(ReadInteger(section, CountKey(countKeyHasPrefix, prefix), 0), kMaxListEntries);
    for (qint64 i = 0; i < count; ++i)
        target.append(ReadString(section, prefix + QString::number(i + firstNumber), defaultValue));
}

void TBiggerIniFile::RenameKey(const QString &section, const QString &oldKey, const QString &newKey)
{
    if (oldKey == newKey)
        return;
    TIniSection *found = LookupSection(section, false);
    if (!found)
        return;
    const int index = found->IndexOfKey(oldKey);
    if (index < 0)
        return;
    const QString line = found->Line(index);
    const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1);
    if (IniSameText(oldKey, newKey)) {
        // Only the letter case changes: writing the new key would find the old line
        // and deleting the old key would then remove the value. Rename in place.
        found->ReplaceLine(index, newKey + QLatin1Char('=') + value);
        SetChanged(true);
        return;
    }
    WriteString(section, newKey, value);
    DeleteKey(section, oldKey);
}

void TBiggerIniFile::RenameSection(const QString &oldName, const QString &newName)
{
    if (oldName == newName)
        return;
    const int index = Sections().IndexOf(oldName);
    if (index >= 0)
        Sections().At(index).Rename(newName);
    SetChanged(true);
}

void TBiggerIniFile::WriteBoolUnlessDefault(const QString &section, const QString &key, bool value, bool defaultValue)
{
    if (value == defaultValue)
        DeleteKey(section, key);
    else
        WriteBool(section, key, value);
}

void TBiggerIniFile::WriteHexValue(const QString &section, const QString &key, qint32 value)
{
    WriteString(section, key, IntToHex(value, 8));
}

void TBiggerIniFile::WriteFont(const QString &section, const QString &key, const TFont &font)
{
    WriteString(section, key, TCSIFont(font).CommaText());
}

void TBiggerIniFile::WriteNumberedList(const QString &section, const QStringList &source, bool countKeyHasPrefix,
                                       int firstNumber, const QString &prefix)
{
    const QStringList before = LookupSection(section, true)->Lines();
    const QString countKey = CountKey(countKeyHasPrefix, prefix);
    const qint64 oldCount = ReadInteger(section, countKey, 0);
    WriteInteger(section, countKey, qint32(source.size()));
    const bool changedBefore = Changed();

    // Remove the first line of every old item key in one pass (one DeleteKey per
    // item would rebuild the key index each time).
    TIniSection *found = LookupSection(section, true);
    const QString upperPrefix = IniUpperCase(prefix);
    QSet<qint64> removed;
    QStringList kept;
    kept.reserve(found->LineCount());
    for (int i = 0; i < found->LineCount(); ++i) {
        const QString line = found->Line(i);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        qint64 n;
        if (eq >= 0 && NumberedKey(IniUpperCase(QStringView(line).left(eq)), upperPrefix, n)
            && n >= firstNumber && n < firstNumber + oldCount && !removed.contains(n)) {
            removed.insert(n);
            continue;
        }
        kept.append(line);
    }
    if (!removed.isEmpty()) {
        found->SetLines(kept);
        SetChanged(true);
    }

    for (qsizetype i = 0; i < source.size(); ++i)
        WriteString(section, prefix + QString::number(i + firstNumber), source[i]);
    if (!changedBefore)
        SetChanged(LookupSection(section, true)->Lines() != before);
}

void TBiggerIniFile::WriteSectionValues(const QString &section, const QStringList &source)
{
    TIniSection *found = LookupSection(section, true);
    if (found->LineCount() != source.size()) {
        found->SetLines(source);
        SetChanged(true);
        return;
    }
    for (qsizetype i = 0; i < source.size(); ++i) {
        if (found->LineView(int(i)) != source[i]) {
            found->ReplaceLine(int(i), source[i]);
            SetChanged(true);
        }
    }
}
