#pragma once

#include "ui/ini/TSectionList.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <functional>

// An INI document held in memory: every section is the ordered list of its raw lines.
// The file is read once at creation; reads never touch the disk; the file is written
// back only when the document changed, on FlushFile/UpdateFile or at destruction.
//
// Sections and keys compare by Unicode upper case; values are returned verbatim.
// Of two same-named sections only the first survives loading; of two lines with the
// same key only the first is ever seen.
class TBigIniFile
{
public:
    // Decides which of two same-named sections survives loading: true keeps the
    // earlier one (the default without a handler), false the later one.
    using TDuplicateSectionHandler =
        std::function<bool(const QString &name, const QStringList &earlier, const QStringList &later)>;

    // Loads fileName when it is not empty. A missing file gives an empty document; a
    // file that exists but cannot be read raises HVException("Cannot open file ...").
    explicit TBigIniFile(const QString &fileName, bool saveAsUnicode = false);
    // Flushes a changed document. A failing write cannot be raised from here; it is
    // reported on the debug log and the old file stays as it was.
    virtual ~TBigIniFile();
    TBigIniFile(const TBigIniFile &) = delete;
    TBigIniFile &operator=(const TBigIniFile &) = delete;

    const QString &FileName() const { return m_fileName; }
    // Flushes the old document, then loads the new file.
    void SetFileName(const QString &fileName);

    virtual void LoadFile(const QString &fileName);
    virtual void Clear();
    virtual void DeleteKey(const QString &section, const QString &key);
    virtual void EraseSection(const QString &section);
    // Raises HVException("Cannot create file ...") when the file cannot be written;
    // the old file then stays intact and the document stays changed.
    virtual void FlushFile();
    virtual bool SectionExists(const QString &section);
    virtual void ReadAll(QStringList &target);
    virtual bool ReadBool(const QString &section, const QString &key, bool defaultValue);
    virtual QDate ReadDate(const QString &section, const QString &key, const QDate &defaultValue);
    virtual QDateTime ReadDateTime(const QString &section, const QString &key, const QDateTime &defaultValue);
    virtual double ReadFloat(const QString &section, const QString &key, double defaultValue);
    virtual qint32 ReadInteger(const QString &section, const QString &key, qint32 defaultValue);
    virtual void ReadSection(const QString &section, QStringList &target);
    virtual void ReadSections(QStringList &target);
    virtual void ReadSectionValues(const QString &section, QStringList &target);
    virtual QString ReadString(const QString &section, const QString &key, const QString &defaultValue);
    virtual QTime ReadTime(const QString &section, const QString &key, const QTime &defaultValue);
    virtual bool HasSection(const QString &section);
    virtual void UpdateFile();
    virtual bool ValueExists(const QString &section, const QString &key);
    virtual void WriteBool(const QString &section, const QString &key, bool value);
    virtual void WriteDate(const QString &section, const QString &key, const QDate &value);
    virtual void WriteDateTime(const QString &section, const QString &key, const QDateTime &value);
    virtual void WriteFloat(const QString &section, const QString &key, double value);
    virtual void WriteInteger(const QString &section, const QString &key, qint32 value);
    virtual void WriteString(const QString &section, const QString &key, const QString &value);
    virtual void WriteTime(const QString &section, const QString &key, const QTime &value);

    bool Changed() const { return m_changed; }
    bool ReadAsUtf16() const { return m_readAsUtf16; }
    bool ReadAsUtf8() const { return m_readAsUtf8; }
    bool SaveAsUnicode() const { return m_saveAsUnicode; }

    // Load and copy options; all off after creation. The load options take effect on
    // the next LoadFile.
    bool ClearBeforeCopy = false;   // ReadSectionValues clears the target first
    bool HasComments = false;       // ";" lines ignored at load, skipped by ReadSection
    bool KeyLinesOnly = false;      // lines without "=" dropped at load
    bool TrimAroundEquals = false;  // blanks and tabs around the first "=" removed at load
    bool StripQuotes = false;       // matching quotes around a value removed at load
    bool TrimTrailing = false;      // trailing characters below code 33 removed at load
    TDuplicateSectionHandler DuplicateSectionHandler;

protected:
    // The section for a key operation, searched from the key-lookup cursor; null when
    // absent and create is false, else appended at the end.
    TIniSection *LookupSection(const QString &section, bool create);
    TSectionList &Sections() { return m_sections; }
    void SetChanged(bool changed) { m_changed = changed; }

private:
    void ParseText(const QByteArray &data);
    void AddLoadedLine(const QString &text, qsizetype start, qsizetype length, TIniSection *&current);
    void DropDuplicateSections();
    QByteArray DocumentBytes() const;

    QString m_fileName;
    int m_sectionCursor = 0;
    TSectionList m_sections;
    bool m_changed = false;
    bool m_readAsUtf16 = false;
    bool m_readAsUtf8 = false;
    bool m_saveAsUnicode = false;
};
