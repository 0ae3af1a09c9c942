#include "config/TZavConfig.h"

#include "common/HVException.h"
#include "config/ConfigHooks.h"
#include "config/TZavConfigNat.h"
#include "platform/system/UserRegistry.h"
#include "ui/translation/TZavMultiSprache.h"
#include "ui/translation/Translation.h"

#include <QDebug>
#include <QUuid>

namespace {

const char kNotLoaded[] = "Programmfehler: Dem Konfigurationsobjekt wurde noch keine Konfigurationsdatei zugewiesen";
const QString kTarvikKey = QStringLiteral("SOFTWARE\\Halvren\\Tarvik");

const char *const kToolLanguages[] = {"DE", "EN", "FR", "ES", "IT", "PT", "PB", "NL", "DA", "FI", "NO", "SV",
                                      "US", "EL", "BG", "ET", "HR", "LV", "LT", "PL", "RO", "RU", "SK", "SL",
                                      "CS", "TR", "HU", "SR", "UK", "AR", "HE", "IW", "JA", "KO", "ZH", "FA"};

} // namespace

TZavConfig::TZavConfig(QObject *owner) : QObject(owner)
{
    ShowConfigMessage(ConfigMessageKind::Error, QStringLiteral("TZavConfig darf nicht direkt erzeugt werden"));
    Initialise();
}

TZavConfig::TZavConfig(QObject *owner, DerivedClass) : QObject(owner)
{
    Initialise();
}

TZavConfig::~TZavConfig() = default;

void TZavConfig::Initialise()
{
    m_registryBaseKey = kTarvikKey;
    // The catalogue application reads this flag; a registry that cannot be written
    // must not keep the configuration from working.
    try {
        WriteUserRegistryInteger(kTarvikKey, QStringLiteral("TimeStampLogFile"), 1);
    } catch (const std::exception &e) {
        qWarning().noquote() << ExceptionMessageText(e);
    }
}

IZavConfigNat &TZavConfig::Storage()
{
    // A TZavConfig created directly has no router: every operation is a program error.
    if (!m_storage)
        throw HVException(QString::fromUtf8(kNotLoaded));
    return *m_storage;
}

void TZavConfig::SetStorage(TZavConfigNat *router)
{
    m_storage = router;
}

void TZavConfig::NewInstanceId()
{
    Storage().SetInstanceId(QUuid::createUuid().toString(QUuid::Id128).toUpper());
}

IZavConfigNat *TZavConfig::ResetState()
{
    NewInstanceId();
    return this;
}

bool TZavConfig::LoadFromFile(const QString &fileName, bool raiseOnError)
{
    const bool loaded = Storage().LoadFromFile(fileName, raiseOnError);
    NewInstanceId();
    return loaded;
}

void TZavConfig::CopyKeysFrom(IZavConfigNat &other, const QString &key)
{
    // One bracket around the whole copy: the document is written once.
    if (!Storage().IsLoaded())
        throw HVException(QString::fromUtf8(kNotLoaded));
    Storage().BeginUpdate();
    try {
        Storage().CopyKeysFrom(other, key);
    } catch (...) {
        Storage().EndUpdate();
        throw;
    }
    Storage().EndUpdate();
}

void TZavConfig::ReadMultiLanguage(const QString &key, TZavMultiSprache &text, const QString &defaultText)
{
    text.Clear();
    const bool isFile = ReadValue(key, QStringLiteral("HVSP")) == QStringLiteral("FILE");
    text.SetIsFile(isFile);
    if (!defaultText.isEmpty()) {
        QStringList codes;
        ReadStringList(QStringLiteral("VIEWER\\LANGUAGES"), codes);
        if (codes.isEmpty())
            codes.append(QStringLiteral("DE"));
        for (const QString &code : std::as_const(codes))
            text.SetText(code, TranslateTextW(defaultText, code));
    }
    TZavMultiSprache stored;
    stored.SetIsFile(isFile);
    QStringList languages;
    ReadSubKeys(key, languages);
    for (const QString &language : std::as_const(languages)) {
        const QString childKey = key + QLatin1Char('\\') + language;
        stored.SetText(language, isFile ? ReadPath(childKey, QString()) : ReadString(childKey, QString()));
    }
    text.MergeFrom(stored);
}

void TZavConfig::WriteMultiLanguage(const QString &key, const TZavMultiSprache &text)
{
    ClearSubKeys(key);
    WriteValue(key, QStringLiteral("HVSP"), text.IsFile() ? QStringLiteral("FILE") : QStringLiteral("ML"));
    for (const QString &code : text.Codes()) {
        const QString value = text.GetText(code);
        if (value.isEmpty())
            continue;
        const QString childKey = key + QLatin1Char('\\') + code;
        if (text.IsFile())
            WritePath(childKey, value);
        else
            WriteString(childKey, value);
    }
}

QStringList TZavConfig::ReadLanguageList(int kind)
{
    QStringList list;
    if (IsToolMode() && (kind == zlkViewer || kind == zlkAvailable)) {
        for (const char *code : kToolLanguages)
            list.append(QString::fromLatin1(code));
        return list;
    }
    static const char *const kKeys[] = {"VIEWER\\LANGUAGES", "INSTALL\\AVAILLANG", "DATABASE\\LANGUAGES", "DATABASE\\Doku\\LANGUAGES"};
    ReadStringList(QString::fromLatin1(kKeys[qBound(0, kind, 3)]), list);
    if (list.isEmpty())
        list.append(QStringLiteral("DE"));
    return list;
}

QString TZavConfig::ChooseLanguage(int kind, const QString &wanted)
{
    const QStringList list = ReadLanguageList(kind);
    if (list.isEmpty())
        return QStringLiteral("DE");
    if (list.contains(wanted))
        return wanted;
    if (list.contains(QStringLiteral("EN")))
        return QStringLiteral("EN");
    return list.first();
}

void TZavConfig::ApplyViewerLanguage()
{
    QString wanted;
    if (IsToolMode()) {
        try {
            wanted = ReadUserRegistryString(kTarvikKey + QStringLiteral("\\Sprache"), QStringLiteral("Akt.Sprache"), QString());
        } catch (const std::exception &) {
            wanted.clear(); // a registry that cannot be read leaves the choice to the list
        }
    } else {
        wanted = ReadString(QStringLiteral("USER\\ViewerSprache"), QStringLiteral("DE"));
    }
    SetLanguage(ChooseLanguage(zlkViewer, wanted));
}

QString TZavConfig::GetDatabaseLanguage()
{
    return ChooseLanguage(zlkDatabase, ReadString(QStringLiteral("USER\\DataBaseSprache"), QStringLiteral("DE")));
}

QString TZavConfig::GetDocumentationLanguage()
{
    return ChooseLanguage(zlkDocumentation, ReadString(QStringLiteral("USER\\DokuSprache"), QStringLiteral("DE")));
}

// Everything below forwards unchanged to the router.

void TZavConfig::Clear()
{
    Storage().Clear();
}

TZavConfigXML *TZavConfig::ReloadDocument()
{
    return Storage().ReloadDocument();
}

void TZavConfig::BeginUpdate()
{
    Storage().BeginUpdate();
}

void TZavConfig::EndUpdate()
{
    Storage().EndUpdate();
}

QString TZavConfig::GetInstanceId()
{
    return Storage().GetInstanceId();
}

void TZavConfig::SetInstanceId(const QString &id)
{
    Storage().SetInstanceId(id);
}

QString TZavConfig::GetInstanceIdAgain()
{
    return Storage().GetInstanceIdAgain();
}

void TZavConfig::SetDllCallBackFunction(void *callback)
{
    Storage().SetDllCallBackFunction(callback);
}

void TZavConfig::SetDllUTF8Mode(bool utf8)
{
    Storage().SetDllUTF8Mode(utf8);
}

void TZavConfig::SetBaseFolder(const QString &folder)
{
    Storage().SetBaseFolder(folder);
}

QString TZavConfig::GetBaseFolder()
{
    return Storage().GetBaseFolder();
}

QString TZavConfig::ReadPath(const QString &key, const QString &defaultValue)
{
    return Storage().ReadPath(key, defaultValue);
}

void TZavConfig::ReadPathList(const QString &key, QStringList &list)
{
    Storage().ReadPathList(key, list);
}

void TZavConfig::WritePath(const QString &key, const QString &path)
{
    Storage().WritePath(key, path);
}

void TZavConfig::WritePathList(const QString &key, const QStringList &list)
{
    Storage().WritePathList(key, list);
}

bool TZavConfig::ReadRawData(const QString &key, int &valueType, QString &payload)
{
    return Storage().ReadRawData(key, valueType, payload);
}

QString TZavConfig::ReadString(const QString &key, const QString &defaultValue)
{
    return Storage().ReadString(key, defaultValue);
}

QString TZavConfig::ReadStringList(const QString &key, QStringList &list)
{
    return Storage().ReadStringList(key, list);
}

void TZavConfig::WriteString(const QString &key, const QString &text)
{
    Storage().WriteString(key, text);
}

void TZavConfig::WriteBool(const QString &key, bool value)
{
    Storage().WriteBool(key, value);
}

bool TZavConfig::ReadBool(const QString &key, bool defaultValue)
{
    return Storage().ReadBool(key, defaultValue);
}

void TZavConfig::WriteStringList(const QString &key, const QStringList &list)
{
    Storage().WriteStringList(key, list);
}

void TZavConfig::WriteSubKeys(const QString &key, const QStringList &names)
{
    Storage().WriteSubKeys(key, names);
}

void TZavConfig::ClearSubKeys(const QString &key)
{
    Storage().ClearSubKeys(key);
}

void TZavConfig::DeleteKey(const QString &key)
{
    Storage().DeleteKey(key);
}

void TZavConfig::DeleteValue(const QString &key, const QString &name)
{
    Storage().DeleteValue(key, name);
}

void TZavConfig::ClearValue(const QString &key)
{
    Storage().ClearValue(key);
}

void TZavConfig::ReadSubKeys(const QString &key, QStringList &list)
{
    Storage().ReadSubKeys(key, list);
}

void TZavConfig::ReadAllSubKeys(const QString &key, QStringList &list)
{
    Storage().ReadAllSubKeys(key, list);
}

int TZavConfig::ReadKeyInteger(const QString &key, int defaultValue)
{
    return Storage().ReadKeyInteger(key, defaultValue);
}

void TZavConfig::WriteKeyInteger(const QString &key, int value)
{
    Storage().WriteKeyInteger(key, value);
}

double TZavConfig::ReadFloat(const QString &key, double defaultValue)
{
    return Storage().ReadFloat(key, defaultValue);
}

void TZavConfig::WriteFloat(const QString &key, double value)
{
    Storage().WriteFloat(key, value);
}

void TZavConfig::WriteFont(const QString &key, const TFont &font)
{
    Storage().WriteFont(key, font);
}

void TZavConfig::ReadFont(const QString &key, TFont &font, const TFont *defaultFont)
{
    Storage().ReadFont(key, font, defaultFont);
}

void TZavConfig::WriteRect(const QString &key, const TZavRect &rect)
{
    Storage().WriteRect(key, rect);
}

TZavRect TZavConfig::ReadRect(const QString &key, const TZavRect &rect)
{
    return Storage().ReadRect(key, rect);
}

void TZavConfig::WriteVersion(double version)
{
    Storage().WriteVersion(version);
}

double TZavConfig::ReadVersion()
{
    return Storage().ReadVersion();
}

void TZavConfig::ReadValues(const QString &key, QStringList &list)
{
    Storage().ReadValues(key, list);
}

QString TZavConfig::ReadValue(const QString &key, const QString &name)
{
    return Storage().ReadValue(key, name);
}

void TZavConfig::WriteValue(const QString &key, const QString &name, const QString &text)
{
    Storage().WriteValue(key, name, text);
}

int TZavConfig::ReadInteger(const QString &key, const QString &name, int defaultValue)
{
    return Storage().ReadInteger(key, name, defaultValue);
}

void TZavConfig::WriteInteger(const QString &key, const QString &name, int value)
{
    Storage().WriteInteger(key, name, value);
}

bool TZavConfig::ReadBoolValue(const QString &key, const QString &name, bool defaultValue)
{
    return Storage().ReadBoolValue(key, name, defaultValue);
}

void TZavConfig::WriteBoolValue(const QString &key, const QString &name, bool value)
{
    Storage().WriteBoolValue(key, name, value);
}

double TZavConfig::ReadFloatValue(const QString &key, const QString &name, double defaultValue)
{
    return Storage().ReadFloatValue(key, name, defaultValue);
}

void TZavConfig::WriteFloatValue(const QString &key, const QString &name, double value)
{
    Storage().WriteFloatValue(key, name, value);
}

void TZavConfig::WriteProgVersion(const QString &key, const QString &text)
{
    Storage().WriteProgVersion(key, text);
}

QString TZavConfig::GetDocumentFileName(const QString &key)
{
    return Storage().GetDocumentFileName(key);
}

bool TZavConfig::AddDocument(const QString &prefix, const QString &fileName, bool raiseOnError)
{
    return Storage().AddDocument(prefix, fileName, raiseOnError);
}

void TZavConfig::CloseAll()
{
    Storage().CloseAll();
}

bool TZavConfig::SetDocumentDisabled(const QString &prefix, bool disabled)
{
    return Storage().SetDocumentDisabled(prefix, disabled);
}

bool TZavConfig::HasValueOnPath(const QString &key, const QString &name, const QString &text)
{
    return Storage().HasValueOnPath(key, name, text);
}

bool TZavConfig::IsLoaded()
{
    return Storage().IsLoaded();
}

bool TZavConfig::CheckReadOnly(bool showMessage)
{
    return Storage().CheckReadOnly(showMessage);
}

bool TZavConfig::KeysEqual(IZavConfigNat &other, const QString &key)
{
    return Storage().KeysEqual(other, key);
}

QString TZavConfig::OpenUserSettings(const QString &fileName)
{
    return Storage().OpenUserSettings(fileName);
}

bool TZavConfig::UserSettingsInUse()
{
    return Storage().UserSettingsInUse();
}

QString TZavConfig::MigrateUserSettings()
{
    return Storage().MigrateUserSettings();
}

QString TZavConfig::GetUserDataFolder()
{
    return Storage().GetUserDataFolder();
}

QString TZavConfig::GetPersonalFolder()
{
    return Storage().GetPersonalFolder();
}

bool TZavConfig::MergeUserSettings(const QString &fileName)
{
    return Storage().MergeUserSettings(fileName);
}

bool TZavConfig::KeyExists(const QString &key)
{
    return Storage().KeyExists(key);
}

QString TZavConfig::ComputeSeal(const QString &section, int variant)
{
    return Storage().ComputeSeal(section, variant);
}

bool TZavConfig::VerifySeal(const QString &section)
{
    return Storage().VerifySeal(section);
}

IZavConfigNat *TZavConfig::GetRelatedConfig()
{
    return Storage().GetRelatedConfig();
}

IZavConfigNat *TZavConfig::GetRelatedConfig2()
{
    return Storage().GetRelatedConfig2();
}

QString TZavConfig::ExpandPath(const QString &key, const QString &path)
{
    return Storage().ExpandPath(key, path);
}

QString TZavConfig::RelativePath(const QString &key, const QString &path)
{
    return Storage().RelativePath(key, path);
}

QString TZavConfig::GetFileName()
{
    return Storage().GetFileName();
}

bool TZavConfig::WriteSeal(const QString &section, const QString &sealKey)
{
    return Storage().WriteSeal(section, sealKey);
}

void TZavConfig::SetToolMode(bool toolMode)
{
    Storage().SetToolMode(toolMode);
}

bool TZavConfig::IsToolMode()
{
    return Storage().IsToolMode();
}

int TZavConfig::ReadPluginCount()
{
    return Storage().ReadPluginCount();
}

void TZavConfig::ReadPluginNames(QStringList *list)
{
    Storage().ReadPluginNames(list);
}

void TZavConfig::ReadAllMultiLanguageTexts(QStringList &list, bool clearFirst)
{
    Storage().ReadAllMultiLanguageTexts(list, clearFirst);
}

void TZavConfig::WriteRawData(const QString &key, int valueType, const QString &payload)
{
    Storage().WriteRawData(key, valueType, payload);
}

bool TZavConfig::ReadUseLocalPath()
{
    return Storage().ReadUseLocalPath();
}
