#include "ui/ini/TBigIniFile.h"

#include "common/HVException.h"
#include "platform/files/TextFileEncoding.h"
#include "platform/system/CodePage.h"
#include "platform/system/SystemError.h"
#include "platform/system/SystemFile.h"
#include "ui/ini/IniConvert.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <limits>

namespace {

bool IsBlankOrTab(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

// The user's short date form, always with a four-digit year: a two-digit year
// would not read back as the year that was written.
QString DateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// 24-hour time with seconds, so that a written time reads back unchanged.
QString TimeFormat()
{
    return QStringLiteral("HH:mm:ss");
}

QString DateTimeFormat()
{
    return DateFormat() + QLatin1Char(' ') + TimeFormat();
}

} // namespace

TBigIniFile::TBigIniFile(const QString &fileName, bool saveAsUnicode) : m_saveAsUnicode(saveAsUnicode)
{
    SetFileName(fileName);
}

TBigIniFile::~TBigIniFile()
{
    try {
        FlushFile();
    } catch (const std::exception &e) {
        // Destruction cannot raise; the old file is still intact (written by rename).
        qWarning().noquote() << ExceptionMessageText(e);
    }
}

void TBigIniFile::SetFileName(const QString &fileName)
{
    FlushFile();
    Clear();
    m_fileName = fileName;
    if (!fileName.isEmpty())
        LoadFile(fileName);
    m_changed = false;
}

void TBigIniFile::LoadFile(const QString &fileName)
{
    m_sectionCursor = 0;
    // A shared lock keeps writers out while the file is read. Only a missing file or
    // folder means "no document"; a file that exists but cannot be read (no
    // permission, locked by a writer, a folder, a pipe or device) is a clear error
    // rather than an empty document.
    SystemFile file;
    int error = 0;
    if (!file.Open(fileName, SystemFile::Mode::Read, &error)) {
        if (error == int(SystemErrorCode::FileNotFound) || error == int(SystemErrorCode::PathNotFound))
            return;
        throw HVException(CannotOpenFileMessage(fileName));
    }
    // One read of the whole size (a file that grew meanwhile is read on to its end),
    // not a mapping: a file cut short by another program must not crash the reader.
    const qint64 size = file.Size();
    if (size < 0 || size >= qint64(std::numeric_limits<qsizetype>::max() / 2))
        throw HVException(CannotOpenFileMessage(fileName));
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    const qint64 got = file.Read(data.data(), size);
    if (got < 0)
        throw HVException(CannotOpenFileMessage(fileName));
    data.truncate(qsizetype(got));
    if (got == size) {
        QByteArray rest;
        if (!file.ReadAll(rest))
            throw HVException(CannotOpenFileMessage(fileName));
        data += rest;
    }
    file.Close();
    ParseText(data);
    DropDuplicateSections();
}

namespace {

// The bytes without CR and NUL, which never belong to a line's text.
QByteArray WithoutCrNul(QByteArrayView bytes)
{
    if (!std::memchr(bytes.data(), '\r', size_t(bytes.size())) && !std::memchr(bytes.data(), '\0', size_t(bytes.size())))
        return QByteArray::fromRawData(bytes.data(), bytes.size());
    QByteArray out(bytes.size(), Qt::Uninitialized);
    char *dst = out.data();
    for (const char c : bytes) {
        *dst = c;
        dst += (c != '\r' && c != '\0'); // branch-free: CR LF is in nearly every line
    }
    out.truncate(dst - out.constData());
    return out;
}

// UTF-8 text decoded line by line: a line that is not valid UTF-8 becomes empty.
QString DecodeUtf8Lines(const QByteArray &bytes)
{
    QString text;
    if (DecodeUtf8Strict(bytes, text))
        return text;
    text.clear();
    qsizetype start = 0;
    while (start <= bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0)
            lf = bytes.size();
        QString line;
        if (DecodeUtf8Strict(QByteArrayView(bytes.constData() + start, lf - start), line))
            text += line;
        if (lf < bytes.size())
            text += QLatin1Char('\n');
        start = lf + 1;
    }
    return text;
}

// Plain ASCII (the common case for both 8-bit and UTF-8 files) widened run by run
// between the CR and NUL bytes, which are left out.
QString WidenAsciiWithoutCrNul(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const char *p = bytes.data();
    const char *end = p + bytes.size();
    const auto find = [end](const char *from, char c) {
        const auto *hit = static_cast<const char *>(std::memchr(from, c, size_t(end - from)));
        return hit ? hit : end;
    };
    const char *nextCr = find(p, '\r');
    const char *nextNul = find(p, '\0');
    while (p < end) {
        if (nextCr < p)
            nextCr = find(p, '\r');
        if (nextNul < p)
            nextNul = find(p, '\0');
        const char *stop = std::min(nextCr, nextNul);
        text.append(QLatin1StringView(p, stop - p));
        p = stop + 1;
    }
    return text;
}

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    QChar *out = text.data();
    qsizetype n = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    // A trailing odd byte is no unit and is left out.
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = bigEndian ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i + 1] << 8 | p[i]);
        if (unit != 13 && unit != 0)
            out[n++] = QChar(unit);
    }
    text.truncate(n);
    return text;
}

} // namespace

void TBigIniFile::ParseText(const QByteArray &data)
{
    int markLength = 0;
    const TTextEncoding encoding = DetectTextEncoding(data.constData(), data.size(), markLength);
    m_readAsUtf8 = encoding == TTextEncoding::Utf8;
    m_readAsUtf16 = encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE;
    const QByteArrayView body = QByteArrayView(data.constData() + markLength, data.size() - markLength);

    // The whole document is decoded at once into one text that the sections share.
    // Decoding never joins bytes across an LF (LF is no part of a multi-byte
    // sequence), so this equals decoding line by line.
    QString text;
    if (m_readAsUtf16)
        text = DecodeUtf16(body, encoding == TTextEncoding::Utf16BE);
    else if (IsAsciiText(body))
        text = WidenAsciiWithoutCrNul(body);
    else if (m_readAsUtf8)
        text = DecodeUtf8Lines(WithoutCrNul(body));
    else
        text = SystemCodePageToWide(WithoutCrNul(body));

    TIniSection *current = nullptr;
    // std::find rather than QStringView::indexOf: its per-call cost is paid a
    // million times in a large document.
    const char16_t *begin = QStringView(text).utf16();
    const char16_t *end = begin + text.size();
    for (const char16_t *p = begin; p < end;) {
        const char16_t *lf = std::find(p, end, u'\n');
        AddLoadedLine(text, p - begin, lf - p, current);
        p = lf + 1;
    }
}

void TBigIniFile::AddLoadedLine(const QString &text, qsizetype start, qsizetype length, TIniSection *&current)
{
    const QStringView line = QStringView(text).mid(start, length);
    if (line.size() == 1 && line[0].unicode() == 26) // Ctrl-Z: old end-of-file mark
        return;
    if (HasComments && line.startsWith(QLatin1Char(';')))
        return;
    if (line.isEmpty())
        return;
    if (line.front() == QLatin1Char('[') && line.back() == QLatin1Char(']') && line.size() >= 2) {
        current = &m_sections.Append(line.mid(1, line.size() - 2).toString(), text);
        return;
    }
    if (!TrimAroundEquals && !StripQuotes && !TrimTrailing) {
        if (KeyLinesOnly && !line.contains(QLatin1Char('=')))
            return;
        if (current)
            current->AppendTextLine(start, length);
        return;
    }

    QString edited = line.toString();
    if (TrimAroundEquals) {
        qsizetype eq = edited.indexOf(QLatin1Char('='));
        while (eq >= 1 && IsBlankOrTab(edited[eq - 1])) {
            edited.remove(eq - 1, 1);
            --eq;
        }
        if (eq >= 1)
            while (eq + 1 < edited.size() && IsBlankOrTab(edited[eq + 1]))
                edited.remove(eq + 1, 1);
    }
    if (StripQuotes) {
        const qsizetype eq = edited.indexOf(QLatin1Char('='));
        if (eq >= 1 && edited.size() - eq - 1 >= 2) {
            const QChar quote = edited[eq + 1];
            if (quote == edited.back() && (quote == QLatin1Char('"') || quote == QLatin1Char('\''))) {
                edited.chop(1);
                edited.remove(eq + 1, 1);
            }
        }
    }
    if (TrimTrailing) {
        qsizetype n = edited.size();
        while (n > 0 && edited[n - 1].unicode() < 33)
            --n;
        edited.truncate(n);
    }
    if (KeyLinesOnly && !edited.contains(QLatin1Char('=')))
        return;
    if (current && !edited.isEmpty())
        current->AppendLine(edited);
}

void TBigIniFile::DropDuplicateSections()
{
    const int n = m_sections.Count();
    if (n < 2)
        return;
    // Every pair of names equal in upper case is a duplicate, wherever the two stand.
    QHash<QString, int> survivor; // upper-cased name -> index of the section kept
    std::vector<bool> dropped(size_t(n), false);
    bool any = false;
    for (int i = 0; i < n; ++i) {
        const TIniSection &section = m_sections.At(i);
        const QString upperName = IniUpperCase(section.Name());
        const auto found = survivor.constFind(upperName);
        if (found == survivor.constEnd()) {
            survivor.insert(upperName, i);
            continue;
        }
        any = true;
        const int earlier = found.value();
        const bool keepEarlier = !DuplicateSectionHandler
                                 || DuplicateSectionHandler(section.Name(), m_sections.At(earlier).Lines(),
                                                            section.Lines());
        if (keepEarlier) {
            dropped[size_t(i)] = true;
        } else {
            dropped[size_t(earlier)] = true;
            survivor[upperName] = i;
        }
    }
    if (!any)
        return;
    m_sections.RemoveMarked(dropped);
    m_sectionCursor = 0;
    m_changed = true;
}

void TBigIniFile::Clear()
{
    m_sections.Clear();
    m_sectionCursor = 0;
}

TIniSection *TBigIniFile::LookupSection(const QString &section, bool create)
{
    const int index = m_sections.IndexOf(section, m_sectionCursor);
    if (index >= 0)
        return &m_sections.At(index);
    if (!create)
        return nullptr;
    TIniSection &added = m_sections.Append(section);
    m_sectionCursor = m_sections.Count() - 1;
    return &added;
}

void TBigIniFile::DeleteKey(const QString &section, const QString &key)
{
    TIniSection *found = LookupSection(section, true);
    const int line = found->IndexOfKey(key);
    if (line < 0)
        return;
    found->RemoveLine(line);
    m_changed = true;
}

void TBigIniFile::EraseSection(const QString &section)
{
    const int index = m_sections.IndexOf(section);
    if (index < 0)
        return; // nothing removed: the document stays unchanged
    m_sections.Remove(index);
    m_changed = true;
    if (m_sectionCursor >= m_sections.Count())
        m_sectionCursor = 0;
}

QByteArray TBigIniFile::DocumentBytes() const
{
    QStringList lines;
    for (int i = 0; i < m_sections.Count(); ++i) {
        const TIniSection &section = m_sections.At(i);
        if (section.LineCount() == 0)
            continue;
        lines.append(QLatin1Char('[') + section.Name() + QLatin1Char(']'));
        lines.append(section.Lines());
        lines.append(QString());
    }
    const QString text = lines.join(QLatin1String("\r\n"));
    if (m_readAsUtf16 || m_readAsUtf8 || m_saveAsUnicode) {
        QByteArray bytes("\xFF\xFE", 2);
        bytes.reserve(2 + text.size() * 2);
        for (const QChar ch : text) {
            bytes.append(char(ch.unicode() & 0xFF));
            bytes.append(char(ch.unicode() >> 8));
        }
        return bytes;
    }
    return WideToSystemCodePage(text);
}

void TBigIniFile::FlushFile()
{
    if (!m_changed)
        return;
    if (m_fileName.isEmpty()) {
        m_changed = false;
        return;
    }
    // Written to a new file beside the old one and renamed over it, so a failed or
    // interrupted write never leaves a truncated document behind.
    QSaveFile file(m_fileName);
    const QByteArray bytes = DocumentBytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw HVException(CannotCreateFileMessage(m_fileName));
    m_changed = false;
}

void TBigIniFile::UpdateFile()
{
    FlushFile();
}

bool TBigIniFile::SectionExists(const QString &section)
{
    return m_sections.IndexOf(section) >= 0;
}

bool TBigIniFile::HasSection(const QString &section)
{
    return SectionExists(section);
}

void TBigIniFile::ReadAll(QStringList &target)
{
    for (int i = 0; i < m_sections.Count(); ++i) {
        const TIniSection &section = m_sections.At(i);
        if (section.LineCount() == 0)
            continue;
        target.append(QLatin1Char('[') + section.Name() + QLatin1Char(']'));
        target.append(section.Lines());
        target.append(QString());
    }
}

QString TBigIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue)
{
    const TIniSection *found = LookupSection(section, false);
    if (!found)
        return defaultValue;
    const int line = found->IndexOfKey(key);
    if (line < 0)
        return defaultValue;
    const QStringView text = found->LineView(line);
    return text.mid(IniIndexOfEquals(text) + 1).toString();
}

qint32 TBigIniFile::ReadInteger(const QString &section, const QString &key, qint32 defaultValue)
{
    QString text = ReadString(section, key, QString());
    if (text.size() >= 2 && text[0] == QLatin1Char('0') && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X')))
        text.replace(0, 2, QLatin1Char('$'));
    qint32 value;
    return TryStrToInt(text, value) ? value : defaultValue;
}

bool TBigIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue)
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QDate TBigIniFile::ReadDate(const QString &section, const QString &key, const QDate &defaultValue)
{
    const QString text = ReadString(section, key, QString());
    const QDate value = QLocale().toDate(text, DateFormat());
    return value.isValid() ? value : defaultValue;
}

QDateTime TBigIniFile::ReadDateTime(const QString &section, const QString &key, const QDateTime &defaultValue)
{
    const QString text = ReadString(section, key, QString());
    QDateTime value = QLocale().toDateTime(text, DateTimeFormat());
    if (!value.isValid()) {
        const QDate date = QLocale().toDate(text, DateFormat());
        if (date.isValid())
            value = QDateTime(date, QTime(0, 0));
    }
    return value.isValid() ? value : defaultValue;
}

double TBigIniFile::ReadFloat(const QString &section, const QString &key, double defaultValue)
{
    const QString text = ReadString(section, key, QString());
    bool ok = false;
    const double value = NumberLocale().toDouble(text, &ok);
    return ok ? value : defaultValue;
}

QTime TBigIniFile::ReadTime(const QString &section, const QString &key, const QTime &defaultValue)
{
    const QString text = ReadString(section, key, QString());
    const QTime value = QLocale().toTime(text, TimeFormat());
    return value.isValid() ? value : defaultValue;
}

void TBigIniFile::ReadSection(const QString &section, QStringList &target)
{
    const int index = m_sections.IndexOf(section);
    if (index < 0)
        return;
    const TIniSection &found = m_sections.At(index);
    for (int i = 0; i < found.LineCount(); ++i) {
        const QStringView line = found.LineView(i);
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        if (HasComments && line.startsWith(QLatin1Char(';')))
            continue;
        target.append(line.left(eq).toString());
    }
}

void TBigIniFile::ReadSections(QStringList &target)
{
    target.clear();
    for (int i = 0; i < m_sections.Count(); ++i)
        target.append(m_sections.At(i).Name());
}

void TBigIniFile::ReadSectionValues(const QString &section, QStringList &target)
{
    const int index = m_sections.IndexOf(section);
    if (index < 0)
        return;
    if (ClearBeforeCopy)
        target.clear();
    target.append(m_sections.At(index).Lines());
}

bool TBigIniFile::ValueExists(const QString &section, const QString &key)
{
    QStringList keys;
    ReadSection(section, keys);
    return keys.contains(key, Qt::CaseSensitive);
}

void TBigIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    if (key.isEmpty()) {
        if (section.isEmpty() && value.isEmpty())
            FlushFile();
        else
            EraseSection(section);
        return;
    }
    const QString line = key + QLatin1Char('=') + value;
    TIniSection *found = LookupSection(section, true);
    const int index = found->IndexOfKey(key);
    if (index < 0) {
        found->AppendLine(line);
        m_changed = true;
    } else if (found->LineView(index) != line) {
        found->ReplaceLine(index, line);
        m_changed = true;
    }
}

void TBigIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TBigIniFile::WriteInteger(const QString &section, const QString &key, qint32 value)
{
    WriteString(section, key, QString::number(value));
}

void TBigIniFile::WriteDate(const QString &section, const QString &key, const QDate &value)
{
    WriteString(section, key, QLocale().toString(value, DateFormat()));
}

void TBigIniFile::WriteDateTime(const QString &section, const QString &key, const QDateTime &value)
{
    WriteString(section, key, QLocale().toString(value, DateTimeFormat()));
}

void TBigIniFile::WriteFloat(const QString &section, const QString &key, double value)
{
    WriteString(section, key, NumberLocale().toString(value, 'g', QLocale::FloatingPointShortest));
}

void TBigIniFile::WriteTime(const QString &section, const QString &key, const QTime &value)
{
    WriteString(section, key, QLocale().toString(value, TimeFormat()));
}
