#pragma once

#include <QString>
#include <QStringList>

class TZavConfigXML;
struct TFont;

// A rectangle as configuration documents store it.
struct TZavRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TZavRect &) const = default;
};

// The storage interface of configuration documents. The router (TZavConfigNat)
// implements it over its loaded documents; the access object (TZavConfig) forwards
// it to its router. The operations keep the order in which callers have always seen
// them. Objects implementing it are owned by their owner; there is no reference
// counting. Every key operation raises the "Programmfehler" error while nothing is loaded.
class IZavConfigNat
{
public:
    virtual ~IZavConfigNat() = default;

    virtual void Clear() = 0;
    virtual TZavConfigXML *ReloadDocument() = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual IZavConfigNat *ResetState() = 0;
    virtual QString GetInstanceId() = 0;
    virtual void SetInstanceId(const QString &id) = 0;
    virtual QString GetInstanceIdAgain() = 0;
    virtual void SetDllCallBackFunction(void *callback) = 0;
    virtual void SetDllUTF8Mode(bool utf8) = 0;
    virtual void SetBaseFolder(const QString &folder) = 0;
    virtual QString GetBaseFolder() = 0;
    virtual QString ReadPath(const QString &key, const QString &defaultValue) = 0;
    virtual void ReadPathList(const QString &key, QStringList &list) = 0;
    virtual void WritePath(const QString &key, const QString &path) = 0;
    virtual void WritePathList(const QString &key, const QStringList &list) = 0;
    virtual bool ReadRawData(const QString &key, int &valueType, QString &payload) = 0;
    virtual QString ReadString(const QString &key, const QString &defaultValue) = 0;
    virtual QString ReadStringList(const QString &key, QStringList &list) = 0;
    virtual void WriteString(const QString &key, const QString &text) = 0;
    virtual void WriteBool(const QString &key, bool value) = 0;
    virtual bool ReadBool(const QString &key, bool defaultValue) = 0;
    virtual void WriteStringList(const QString &key, const QStringList &list) = 0;
    virtual void WriteSubKeys(const QString &key, const QStringList &names) = 0;
    virtual void ClearSubKeys(const QString &key) = 0;
    virtual void DeleteKey(const QString &key) = 0;
    virtual void DeleteValue(const QString &key, const QString &name) = 0;
    virtual void ClearValue(const QString &key) = 0;
    virtual void ReadSubKeys(const QString &key, QStringList &list) = 0;
    virtual void ReadAllSubKeys(const QString &key, QStringList &list) = 0;
    virtual int ReadKeyInteger(const QString &key, int defaultValue) = 0;
    virtual void WriteKeyInteger(const QString &key, int value) = 0;
    virtual double ReadFloat(const QString &key, double defaultValue) = 0;
    virtual void WriteFloat(const QString &key, double value) = 0;
    virtual void WriteFont(const QString &key, const TFont &font) = 0;
    virtual void ReadFont(const QString &key, TFont &font, const TFont *defaultFont) = 0;
    virtual void WriteRect(const QString &key, const TZavRect &rect) = 0;
    virtual TZavRect ReadRect(const QString &key, const TZavRect &rect) = 0;
    virtual void WriteVersion(double version) = 0;
    virtual double ReadVersion() = 0;
    virtual void ReadValues(const QString &key, QStringList &list) = 0;
    virtual QString ReadValue(const QString &key, const QString &name) = 0;
    virtual void WriteValue(const QString &key, const QString &name, const QString &text) = 0;
    virtual int ReadInteger(const QString &key, const QString &name, int defaultValue) = 0;
    virtual void WriteInteger(const QString &key, const QString &name, int value) = 0;
    virtual bool ReadBoolValue(const QString &key, const QString &name, bool defaultValue) = 0;
    virtual void WriteBoolValue(const QString &key, const QString &name, bool value) = 0;
    virtual double ReadFloatValue(const QString &key, const QString &name, double defaultValue) = 0;
    virtual void WriteFloatValue(const QString &key, const QString &name, double value) = 0;
    virtual void WriteProgVersion(const QString &key, const QString &text) = 0;
    virtual QString GetDocumentFileName(const QString &key) = 0;
    virtual bool AddDocument(const QString &prefix, const QString &fileName, bool raiseOnError) = 0;
    virtual void CloseAll() = 0;
    virtual bool SetDocumentDisabled(const QString &prefix, bool disabled) = 0;
    virtual bool HasValueOnPath(const QString &key, const QString &name, const QString &text) = 0;
    virtual bool IsLoaded() = 0;
    virtual bool CheckReadOnly(bool showMessage) = 0;
    virtual void CopyKeysFrom(IZavConfigNat &other, const QString &key) = 0;
    virtual bool KeysEqual(IZavConfigNat &other, const QString &key) = 0;
    virtual QString OpenUserSettings(const QString &fileName) = 0;
    virtual bool UserSettingsInUse() = 0;
    virtual QString MigrateUserSettings() = 0;
    virtual QString GetUserDataFolder() = 0;
    virtual QString GetPersonalFolder() = 0;
    virtual bool MergeUserSettings(const QString &fileName) = 0;
    virtual bool KeyExists(const QString &key) = 0;
    virtual QString ComputeSeal(const QString &section, int variant) = 0;
    virtual bool VerifySeal(const QString &section) = 0;
    virtual IZavConfigNat *GetRelatedConfig() = 0;
    virtual IZavConfigNat *GetRelatedConfig2() = 0;
    virtual QString ExpandPath(const QString &key, const QString &path) = 0;
    virtual QString RelativePath(const QString &key, const QString &path) = 0;
    virtual bool LoadFromFile(const QString &fileName, bool raiseOnError) = 0;
    virtual QString GetFileName() = 0;
    virtual bool WriteSeal(const QString &section, const QString &sealKey) = 0;
    virtual void SetToolMode(bool toolMode) = 0;
    virtual bool IsToolMode() = 0;
    virtual int ReadPluginCount() = 0;
    virtual void ReadPluginNames(QStringList *list) = 0;
    virtual void ReadAllMultiLanguageTexts(QStringList &list, bool clearFirst) = 0;
    virtual void WriteRawData(const QString &key, int valueType, const QString &payload) = 0;
    virtual bool ReadUseLocalPath() = 0;
};
