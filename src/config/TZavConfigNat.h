#pragma once

#include "config/IZavConfigNat.h"
#include "config/TZavConfigXMLFast.h"

#include <QObject>
#include <memory>
#include <vector>

// The document router: implements the storage interface over one or more loaded
// configuration documents, each registered under a key prefix. A key goes to the
// enabled document with the longest prefix that begins the key; the main document
// has the empty prefix. Freeing the router frees its documents.
class TZavConfigNat : public QObject, public IZavConfigNat
{
    Q_OBJECT
public:
    explicit TZavConfigNat(QObject *owner = nullptr);
    ~TZavConfigNat() override;

    void Clear() override;
    TZavConfigXML *ReloadDocument() override;
    void BeginUpdate() override;
    void EndUpdate() override;
    IZavConfigNat *ResetState() override;
    QString GetInstanceId() override;
    void SetInstanceId(const QString &id) override;
    QString GetInstanceIdAgain() override;
    void SetDllCallBackFunction(void *callback) override;
    void SetDllUTF8Mode(bool utf8) override;
    void SetBaseFolder(const QString &folder) override;
    QString GetBaseFolder() override;
    QString ReadPath(const QString &key, const QString &defaultValue) override;
    void ReadPathList(const QString &key, QStringList &list) override;
    void WritePath(const QString &key, const QString &path) override;
    void WritePathList(const QString &key, const QStringList &list) override;
    bool ReadRawData(const QString &key, int &valueType, QString &payload) override;
    QString ReadString(const QString &key, const QString &defaultValue) override;
    QString ReadStringList(const QString &key, QStringList &list) override;
    void WriteString(const QString &key, const QString &text) override;
    void WriteBool(const QString &key, bool value) override;
    bool ReadBool(const QString &key, bool defaultValue) override;
    void WriteStringList(const QString &key, const QStringList &list) override;
    void WriteSubKeys(const QString &key, const QStringList &names) override;
    void ClearSubKeys(const QString &key) override;
    void DeleteKey(const QString &key) override;
    void DeleteValue(const QString &key, const QString &name) override;
    void ClearValue(const QString &key) override;
    void ReadSubKeys(const QString &key, QStringList &list) override;
    void ReadAllSubKeys(const QString &key, QStringList &list) override;
    int ReadKeyInteger(const QString &key, int defaultValue) override;
    void WriteKeyInteger(const QString &key, int value) override;
    double ReadFloat(const QString &key, double defaultValue) override;
    void WriteFloat(const QString &key, double value) override;
    void WriteFont(const QString &key, const TFont &font) override;
    void ReadFont(const QString &key, TFont &font, const TFont *defaultFont) override;
    void WriteRect(const QString &key, const TZavRect &rect) override;
    TZavRect ReadRect(const QString &key, const TZavRect &rect) override;
    void WriteVersion(double version) override;
    double ReadVersion() override;
    void ReadValues(const QString &key, QStringList &list) override;
    QString ReadValue(const QString &key, const QString &name) override;
    void WriteValue(const QString &key, const QString &name, const QString &text) override;
    int ReadInteger(const QString &key, const QString &name, int defaultValue) override;
    void WriteInteger(const QString &key, const QString &name, int value) override;
    bool ReadBoolValue(const QString &key, const QString &name, bool defaultValue) override;
    void WriteBoolValue(const QString &key, const QString &name, bool value) override;
    double ReadFloatValue(const QString &key, const QString &name, double defaultValue) override;
    void WriteFloatValue(const QString &key, const QString &name, double value) override;
    void WriteProgVersion(const QString &key, const QString &text) override;
    QString GetDocumentFileName(const QString &key) override;
    bool AddDocument(const QString &prefix, const QString &fileName, bool raiseOnError) override;
    void CloseAll() override;
    bool SetDocumentDisabled(const QString &prefix, bool disabled) override;
    bool HasValueOnPath(const QString &key, const QString &name, const QString &text) override;
    bool IsLoaded() override;
    bool CheckReadOnly(bool showMessage) override;
    void CopyKeysFrom(IZavConfigNat &other, const QString &key) override;
    bool KeysEqual(IZavConfigNat &other, const QString &key) override;
    QString OpenUserSettings(const QString &fileName) override;
    bool UserSettingsInUse() override;
    QString MigrateUserSettings() override;
    QString GetUserDataFolder() override;
    QString GetPersonalFolder() override;
    bool MergeUserSettings(const QString &fileName) override;
    bool KeyExists(const QString &key) override;
    QString ComputeSeal(const QString &section, int variant) override;
    bool VerifySeal(const QString &section) override;
    IZavConfigNat *GetRelatedConfig() override;
    IZavConfigNat *GetRelatedConfig2() override;
    QString ExpandPath(const QString &key, const QString &path) override;
    QString RelativePath(const QString &key, const QString &path) override;
    bool LoadFromFile(const QString &fileName, bool raiseOnError) override;
    QString GetFileName() override;
    bool WriteSeal(const QString &section, const QString &sealKey) override;
    void SetToolMode(bool toolMode) override;
    bool IsToolMode() override;
    int ReadPluginCount() override;
    void ReadPluginNames(QStringList *list) override;
    void ReadAllMultiLanguageTexts(QStringList &list, bool clearFirst) override;
    void WriteRawData(const QString &key, int valueType, const QString &payload) override;
    bool ReadUseLocalPath() override;

    // The document that serves key (raises when none does).
    TZavConfigXML &DocumentFor(const QString &key);

private:
    struct Entry
    {
        std::unique_ptr<TZavConfigXMLFast> document;
        QString prefix;
        bool disabled = false;
    };

    QString FolderFor(const QString &key);
    [[noreturn]] void NotSupported(const char *operation) const;

    std::vector<Entry> m_documents;
    QString m_fileName;
    QString m_baseFolder;
    QString m_instanceId;
    bool m_toolMode = false;
    bool m_userSettingsInUse = false;
};
