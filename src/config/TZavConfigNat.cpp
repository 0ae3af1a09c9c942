#include "config/TZavConfigNat.h"

#include "common/HVException.h"
#include "config/ConfigHooks.h"
#include "config/ConfigValueCodec.h"
#include "config/ZavSeal.h"
#include "ui/translation/Translation.h"

#include <utility>

namespace {

const char kNotLoaded[] = "Programmfehler: Dem Konfigurationsobjekt wurde noch keine Konfigurationsdatei zugewiesen";

QString Slashed(const QString &path)
{
    QString out = path;
    return out.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// "/..." and the foreign forms "X:..." and "\\..." (never valid relative paths).
bool IsAbsoluteConfigPath(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')))
        return true;
    if (path.size() < 2)
        return false;
    return path[1] == QLatin1Char(':') || path.startsWith(QStringLiteral("\\\\"));
}

// The text up to and including the last "/" or ":", trailing separators removed.
QString FolderPart(const QString &path)
{
    const QString slashed = Slashed(path);
    const qsizetype cut = qMax(slashed.lastIndexOf(QLatin1Char('/')), slashed.lastIndexOf(QLatin1Char(':')));
    QString folder = slashed.left(cut + 1);
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QString ChildKey(const QString &key, const QString &child)
{
    return key.isEmpty() ? child : key + QLatin1Char('\\') + child;
}

} // namespace

TZavConfigNat::TZavConfigNat(QObject *owner) : QObject(owner) {}

TZavConfigNat::~TZavConfigNat() = default;

TZavConfigXML &TZavConfigNat::DocumentFor(const QString &key)
{
    if (m_documents.empty())
        throw HVException(QString::fromUtf8(kNotLoaded));
    Entry *best = nullptr;
    for (Entry &entry : m_documents) {
        if (entry.disabled)
            continue;
        if (!entry.prefix.isEmpty() && !key.startsWith(entry.prefix))
            continue;
        if (!best || entry.prefix.size() > best->prefix.size())
            best = &entry;
    }
    if (!best)
        throw HVException(QStringLiteral("Kein Konfigurationsdokument für den Schlüssel: ") + key);
    return *best->document;
}

void TZavConfigNat::NotSupported(const char *operation) const
{
    throw HVException(QStringLiteral("Funktion: %1 wird in diesem Programm nicht unterstützt").arg(QString::fromLatin1(operation)));
}

void TZavConfigNat::Clear()
{
    m_documents.clear();
}

TZavConfigXML *TZavConfigNat::ReloadDocument()
{
    TZavConfigXML &doc = DocumentFor(QString());
    doc.Reload();
    return &doc;
}

void TZavConfigNat::BeginUpdate()
{
    for (Entry &entry : m_documents)
        entry.document->BeginUpdate();
}

void TZavConfigNat::EndUpdate()
{
    for (Entry &entry : m_documents)
        entry.document->EndUpdate();
}

IZavConfigNat *TZavConfigNat::ResetState() { return this; }
QString TZavConfigNat::GetInstanceId() { return m_instanceId; }
void TZavConfigNat::SetInstanceId(const QString &id) { m_instanceId = id; }
QString TZavConfigNat::GetInstanceIdAgain() { return m_instanceId; }

void TZavConfigNat::SetDllCallBackFunction(void *)
{
    throw HVException(QStringLiteral("Funktion: SetDllCallBackFunction kann in Exe nicht verwendet werden"));
}

void TZavConfigNat::SetDllUTF8Mode(bool)
{
    throw HVException(QStringLiteral("Funktion: SetDllUTF8Mode kann in Exe nicht verwendet werden"));
}

void TZavConfigNat::SetBaseFolder(const QString &folder) { m_baseFolder = folder; }
QString TZavConfigNat::GetBaseFolder() { return m_baseFolder; }

QString TZavConfigNat::FolderFor(const QString &key)
{
    return FolderPart(m_baseFolder.isEmpty() ? DocumentFor(key).FileName() : m_baseFolder);
}

QString TZavConfigNat::ExpandPath(const QString &key, const QString &path)
{
    if (path.isEmpty() || IsAbsoluteConfigPath(path))
        return path;
    return FolderFor(key) + QLatin1Char('/') + Slashed(path);
}

QString TZavConfigNat::RelativePath(const QString &key, const QString &path)
{
    QString prefix;
    if (!m_baseFolder.isEmpty()) {
        prefix = Slashed(m_baseFolder);
        while (prefix.endsWith(QLatin1Char('/')))
            prefix.chop(1);
    } else {
        prefix = FolderPart(DocumentFor(key).FileName());
    }
    prefix += QLatin1Char('/');
    // File names on Linux differ by letter case, so the folder must match exactly.
    const QString slashed = Slashed(path);
    if (slashed.startsWith(prefix))
        return slashed.mid(prefix.size());
    return path;
}

QString TZavConfigNat::ReadPath(const QString &key, const QString &defaultValue)
{
    const QString value = ReadString(key, defaultValue);
    return value.isEmpty() ? value : ExpandPath(key, value);
}

void TZavConfigNat::ReadPathList(const QString &key, QStringList &list)
{
    ReadStringList(key, list);
    for (QString &item : list)
        item = ExpandPath(key, item);
}

void TZavConfigNat::WritePath(const QString &key, const QString &path)
{
    WriteString(key, RelativePath(key, path));
}

void TZavConfigNat::WritePathList(const QString &key, const QStringList &list)
{
    QStringList relative;
    for (const QString &item : list)
        relative.append(RelativePath(key, item));
    WriteStringList(key, relative);
}

bool TZavConfigNat::ReadRawData(const QString &key, int &valueType, QString &payload)
{
    return DocumentFor(key).ReadRawData(key, valueType, payload);
}

QString TZavConfigNat::ReadString(const QString &key, const QString &defaultValue)
{
    return DocumentFor(key).ReadString(key, defaultValue);
}

QString TZavConfigNat::ReadStringList(const QString &key, QStringList &list)
{
    return DocumentFor(key).ReadStringList(key, list);
}

void TZavConfigNat::WriteString(const QString &key, const QString &text) { DocumentFor(key).WriteString(key, text); }
void TZavConfigNat::WriteBool(const QString &key, bool value) { DocumentFor(key).WriteBool(key, value); }
bool TZavConfigNat::ReadBool(const QString &key, bool defaultValue) { return DocumentFor(key).ReadBool(key, defaultValue); }
void TZavConfigNat::WriteStringList(const QString &key, const QStringList &list) { DocumentFor(key).WriteStringList(key, list); }
void TZavConfigNat::WriteSubKeys(const QString &key, const QStringList &names) { DocumentFor(key).WriteSubKeys(key, names); }
void TZavConfigNat::ClearSubKeys(const QString &key) { DocumentFor(key).WriteSubKeys(key, QStringList()); }
void TZavConfigNat::DeleteKey(const QString &key) { DocumentFor(key).DeleteKey(key); }
void TZavConfigNat::DeleteValue(const QString &key, const QString &name) { DocumentFor(key).DeleteValue(key, name); }
void TZavConfigNat::ClearValue(const QString &key) { DocumentFor(key).ClearValue(key); }
void TZavConfigNat::ReadSubKeys(const QString &key, QStringList &list) { DocumentFor(key).ReadSubKeys(key, list); }
void TZavConfigNat::ReadAllSubKeys(const QString &key, QStringList &list) { DocumentFor(key).ReadAllSubKeys(key, list); }
int TZavConfigNat::ReadKeyInteger(const QString &key, int defaultValue) { return DocumentFor(key).ReadKeyInteger(key, defaultValue); }
void TZavConfigNat::WriteKeyInteger(const QString &key, int value) { DocumentFor(key).WriteKeyInteger(key, value); }

double TZavConfigNat::ReadFloat(const QString &key, double defaultValue)
{
    double value = defaultValue;
    return ParseConfigFloat(ReadString(key, FormatConfigFloat(defaultValue)), value) ? value : defaultValue;
}

void TZavConfigNat::WriteFloat(const QString &key, double value)
{
    WriteString(key, FormatConfigFloat(value));
}

void TZavConfigNat::WriteRect(const QString &key, const TZavRect &rect)
{
    const QString rectKey = ChildKey(key, QStringLiteral("Rect"));
    const QString itemKey = rectKey + QStringLiteral("\\TRect0");
    TZavConfigXML &doc = DocumentFor(key);
    doc.BeginUpdate();
    try {
        doc.DeleteKey(rectKey);
        doc.WriteValue(rectKey, QStringLiteral("Count"), QStringLiteral("0"));
        doc.WriteValue(itemKey, QStringLiteral("Top"), QString::number(rect.Top));
        doc.WriteValue(itemKey, QStringLiteral("Left"), QString::number(rect.Left));
        doc.WriteValue(itemKey, QStringLiteral("Right"), QString::number(rect.Right));
        doc.WriteValue(itemKey, QStringLiteral("Bottom"), QString::number(rect.Bottom));
    } catch (...) {
        doc.EndUpdate();
        throw;
    }
    doc.EndUpdate();
}

TZavRect TZavConfigNat::ReadRect(const QString &key, const TZavRect &rect)
{
    const QString rectKey = ChildKey(key, QStringLiteral("Rect"));
    int count = 0;
    if (!ParseConfigInteger(ReadValue(rectKey, QStringLiteral("Count")), count))
        return rect;
    const QString itemKey = rectKey + QStringLiteral("\\TRect0");
    TZavRect result;
    result.Top = ReadInteger(itemKey, QStringLiteral("Top"), 0);
    result.Left = ReadInteger(itemKey, QStringLiteral("Left"), 0);
    result.Right = ReadInteger(itemKey, QStringLiteral("Right"), 0);
    result.Bottom = ReadInteger(itemKey, QStringLiteral("Bottom"), 0);
    return result;
}

void TZavConfigNat::WriteVersion(double version) { DocumentFor(QString()).WriteVersion(version); }
double TZavConfigNat::ReadVersion() { return DocumentFor(QString()).ReadVersion(); }
void TZavConfigNat::ReadValues(const QString &key, QStringList &list) { DocumentFor(key).ReadValues(key, list); }
QString TZavConfigNat::ReadValue(const QString &key, const QString &name) { return DocumentFor(key).ReadValue(key, name); }

void TZavConfigNat::WriteValue(const QString &key, const QString &name, const QString &text)
{
    DocumentFor(key).WriteValue(key, name, text);
}

int TZavConfigNat::ReadInteger(const QString &key, const QString &name, int defaultValue)
{
    return DocumentFor(key).ReadInteger(key, name, defaultValue);
}

void TZavConfigNat::WriteInteger(const QString &key, const QString &name, int value)
{
    WriteValue(key, name, QString::number(value));
}

bool TZavConfigNat::ReadBoolValue(const QString &key, const QString &name, bool defaultValue)
{
    const QString text = ReadValue(key, name);
    return text.isEmpty() ? defaultValue : BoolFromValueText(text);
}

void TZavConfigNat::WriteBoolValue(const QString &key, const QString &name, bool value)
{
    WriteValue(key, name, BoolValueText(value));
}

double TZavConfigNat::ReadFloatValue(const QString &key, const QString &name, double defaultValue)
{
    double value = defaultValue;
    return ParseConfigFloat(ReadValue(key, name), value) ? value : defaultValue;
}

void TZavConfigNat::WriteFloatValue(const QString &key, const QString &name, double value)
{
    WriteValue(key, name, FormatConfigFloat(value));
}

void TZavConfigNat::WriteProgVersion(const QString &key, const QString &text)
{
    DocumentFor(key).WriteProgVersion(text);
}

QString TZavConfigNat::GetDocumentFileName(const QString &key)
{
    return DocumentFor(key).FileName();
}

bool TZavConfigNat::AddDocument(const QString &prefix, const QString &fileName, bool raiseOnError)
{
    auto document = std::make_unique<TZavConfigXMLFast>();
    try {
        document->LoadFromFile(Slashed(fileName));
    } catch (const std::exception &) {
        if (raiseOnError)
            throw;
        return false;
    }
    m_documents.push_back(Entry{std::move(document), prefix, false});
    return true;
}

void TZavConfigNat::CloseAll()
{
    Clear();
}

bool TZavConfigNat::SetDocumentDisabled(const QString &prefix, bool disabled)
{
    bool matched = false;
    for (Entry &entry : m_documents) {
        if (entry.prefix == prefix) {
            entry.disabled = disabled;
            matched = true;
        }
    }
    return matched;
}

bool TZavConfigNat::HasValueOnPath(const QString &key, const QString &name, const QString &text)
{
    return DocumentFor(key).HasValueOnPath(key, name, text);
}

bool TZavConfigNat::IsLoaded()
{
    return !m_documents.empty();
}

bool TZavConfigNat::CheckReadOnly(bool showMessage)
{
    if (m_documents.empty())
        return false;
    const bool readOnly = DocumentFor(QString()).IsReadOnly();
    if (readOnly && showMessage)
        ShowConfigMessage(ConfigMessageKind::Warning, TranslateText("!!Die Projekt-Konfigurationsdatei ist scheibgeschützt!") +
                                                          QStringLiteral("\r\n") + TranslateText("!!Es sind keine Änderungen möglich."));
    return readOnly;
}

void TZavConfigNat::CopyKeysFrom(IZavConfigNat &other, const QString &key)
{
    ClearSubKeys(key);
    // Explicit stack instead of recursion: the depth of the other tree is not ours to trust.
    std::vector<QString> pending{key};
    while (!pending.empty()) {
        const QString current = pending.back();
        pending.pop_back();
        int type = 0;
        QString payload;
        if (other.ReadRawData(current, type, payload))
            WriteRawData(current, type, payload);
        QStringList values;
        other.ReadValues(current, values);
        for (const QString &line : values) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            WriteValue(current, line.left(bar), line.mid(bar + 1));
        }
        QStringList children;
        other.ReadSubKeys(current, children);
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            pending.push_back(ChildKey(current, *it));
    }
}

bool TZavConfigNat::KeysEqual(IZavConfigNat &other, const QString &key)
{
    std::vector<QString> pending{key};
    while (!pending.empty()) {
        const QString current = pending.back();
        pending.pop_back();
        int typeHere = 0;
        int typeThere = 0;
        QString here;
        QString there;
        ReadRawData(current, typeHere, here);
        other.ReadRawData(current, typeThere, there);
        if (here != there)
            return false;
        QStringList valuesHere;
        QStringList valuesThere;
        ReadValues(current, valuesHere);
        other.ReadValues(current, valuesThere);
        if (valuesHere != valuesThere)
            return false;
        QStringList childrenHere;
        QStringList childrenThere;
        ReadSubKeys(current, childrenHere);
        other.ReadSubKeys(current, childrenThere);
        if (childrenHere != childrenThere)
            return false;
        for (auto it = childrenHere.crbegin(); it != childrenHere.crend(); ++it)
            pending.push_back(ChildKey(current, *it));
    }
    return true;
}

// The per-user settings document serves the catalogue application only.
QString TZavConfigNat::OpenUserSettings(const QString &) { NotSupported("OpenUserSettings"); }
bool TZavConfigNat::UserSettingsInUse() { return m_userSettingsInUse; }
QString TZavConfigNat::MigrateUserSettings() { NotSupported("MigrateUserSettings"); }
QString TZavConfigNat::GetUserDataFolder() { NotSupported("GetUserDataFolder"); }
QString TZavConfigNat::GetPersonalFolder() { NotSupported("GetPersonalFolder"); }
bool TZavConfigNat::MergeUserSettings(const QString &) { NotSupported("MergeUserSettings"); }

bool TZavConfigNat::KeyExists(const QString &key)
{
    return DocumentFor(key).KeyExists(key);
}

QString TZavConfigNat::ComputeSeal(const QString &section, int variant)
{
    return ComputeZavSeal(*this, [this](const QString &key) { return DocumentFor(key).ReadText(key); }, section, variant);
}

bool TZavConfigNat::VerifySeal(const QString &section)
{
    return VerifyZavSeal(*this, [this](const QString &key) { return DocumentFor(key).ReadText(key); }, section);
}

bool TZavConfigNat::WriteSeal(const QString &section, const QString &sealKey)
{
    return WriteZavSeal(*this, [this](const QString &key) { return DocumentFor(key).ReadText(key); }, section, sealKey);
}

IZavConfigNat *TZavConfigNat::GetRelatedConfig() { return this; }
IZavConfigNat *TZavConfigNat::GetRelatedConfig2() { return this; }

bool TZavConfigNat::LoadFromFile(const QString &fileName, bool raiseOnError)
{
    if (fileName.contains(QLatin1Char('?')))
        throw HVException(TranslateText("!!Ungültiger Dateiname übergeben"));
    Clear();
    if (fileName.isEmpty()) {
        m_fileName.clear();
        return false;
    }
    const bool loaded = AddDocument(QString(), fileName, raiseOnError);
    m_fileName = loaded ? fileName : QString();
    return loaded;
}

QString TZavConfigNat::GetFileName() { return m_fileName; }
void TZavConfigNat::SetToolMode(bool toolMode) { m_toolMode = toolMode; }
bool TZavConfigNat::IsToolMode() { return m_toolMode; }

int TZavConfigNat::ReadPluginCount()
{
    int count = 0;
    return ParseConfigInteger(ReadValue(QStringLiteral("Security\\Plugin"), QStringLiteral("Count")), count) ? count : 0;
}

void TZavConfigNat::ReadPluginNames(QStringList *list)
{
    if (!list)
        return;
    const int count = ReadPluginCount();
    for (int n = 1; n <= count; ++n)
        list->append(ReadString(QStringLiteral("Security\\Plugin\\Plug%1\\PluginName").arg(n), QString()));
}

void TZavConfigNat::ReadAllMultiLanguageTexts(QStringList &list, bool clearFirst)
{
    // One line per language text of every key marked "HVSP" = "ML": key|language|text.
    if (clearFirst)
        list.clear();
    TZavConfigXML &doc = DocumentFor(QString());
    QStringList keys;
    doc.ReadAllSubKeys(QString(), keys);
    for (const QString &key : std::as_const(keys)) {
        if (doc.ReadValue(key, QStringLiteral("HVSP")) != QStringLiteral("ML"))
            continue;
        QStringList languages;
        doc.ReadSubKeys(key, languages);
        for (const QString &language : std::as_const(languages))
            list.append(key + QLatin1Char('|') + language + QLatin1Char('|') +
                        doc.ReadString(key + QLatin1Char('\\') + language, QString()));
    }
}

void TZavConfigNat::WriteRawData(const QString &key, int valueType, const QString &payload)
{
    DocumentFor(key).WriteRawData(key, valueType, payload);
}

bool TZavConfigNat::ReadUseLocalPath()
{
    return ReadBool(QStringLiteral("INSTALL\\USELOCALPATH"), false);
}
