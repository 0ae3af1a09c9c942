#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <unordered_map>
#include <vector>

// One configuration document (".hvk"): an XML file held as an in-memory tree. Keys are
// backslash-separated element paths below the root "HALVREN"; a value is the element's
// text led by a type letter; a named value is an attribute. Every write saves the whole
// file at once unless a BeginUpdate/EndUpdate bracket is open; the outermost EndUpdate
// saves. Reads reload the file when the last load lies more than 599 seconds back.
class TZavConfigXML
{
public:
    TZavConfigXML();
    virtual ~TZavConfigXML();
    TZavConfigXML(const TZavConfigXML &) = delete;
    TZavConfigXML &operator=(const TZavConfigXML &) = delete;

    void LoadFromFile(const QString &fileName);
    void Reload();
    void BeginUpdate();
    void EndUpdate();
    bool IsReadOnly() const;

    QString ReadString(const QString &key, const QString &defaultValue);
    void WriteString(const QString &key, const QString &text);
    int ReadKeyInteger(const QString &key, int defaultValue);
    void WriteKeyInteger(const QString &key, int value);
    bool ReadBool(const QString &key, bool defaultValue);
    void WriteBool(const QString &key, bool value);
    // Clears the list and fills it from a list value; "OK" when the key held one, else "".
    QString ReadStringList(const QString &key, QStringList &list);
    void WriteStringList(const QString &key, const QStringList &list);
    bool ReadRawData(const QString &key, int &valueType, QString &payload);
    // The decoded, trimmed text of the key's element, type letter included.
    QString ReadText(const QString &key);
    void WriteRawData(const QString &key, int valueType, const QString &payload);

    QString ReadValue(const QString &key, const QString &name);
    void WriteValue(const QString &key, const QString &name, const QString &text);
    int ReadInteger(const QString &key, const QString &name, int defaultValue);
    // Adds "name|value" per attribute, in ordinal order of the names.
    void ReadValues(const QString &key, QStringList &list);
    void DeleteValue(const QString &key, const QString &name);

    bool KeyExists(const QString &key);
    void ReadSubKeys(const QString &key, QStringList &list);
    void ReadAllSubKeys(const QString &key, QStringList &list);
    void WriteSubKeys(const QString &key, const QStringList &names);
    void DeleteKey(const QString &key);
    void ClearValue(const QString &key);
    bool HasValueOnPath(const QString &key, const QString &name, const QString &text);
    void CopyKeyFrom(TZavConfigXML &other, const QString &key);

    double ReadVersion();
    void WriteVersion(double version);
    void WriteProgVersion(const QString &text);

    QString FileName() const { return m_fileName; }
    QStringList ErrorList() const { return m_errors; }
    bool HasTree() const { return m_tree != nullptr; }
    int BracketDepth() const { return m_depth; }
    bool BracketOpen() const { return m_bracketOpen; }

    // Deepest element nesting a document may have; deeper files fail to load and
    // deeper keys cannot be created, so that no walk over a document grows without bound.
    static constexpr int kMaxNestingDepth = 1000;
    // Seconds after which reads reload the file.
    static constexpr qint64 kRefreshIntervalSeconds = 599;

    // Parses bytes as a loaded file would be parsed (decompression, byte-order mark,
    // declaration test); used by the loader and by the fuzz target.
    void ParseBytes(QByteArray bytes);
    // The document in its exact file form, as a save writes it.
    std::string SerializedContent() const;

protected:
    void Save();

private:
    struct Parts
    {
        std::vector<std::string> names; // UTF-8, the root name first
    };

    Parts SplitKey(const QString &key) const;
    void CheckKeyForWrite(const QString &key, const Parts &parts) const;
    void RefreshIfDue();
    void ResetPathCache();
    void TreeChanged();
    pugi::xml_node FindElement(const QString &key, bool refresh);
    pugi::xml_node FindChild(pugi::xml_node parent, const std::string &name);
    pugi::xml_node FindOrCreateElement(const QString &key);
    pugi::xml_node CreateChildElement(pugi::xml_node parent, const char *name);
    void RemoveElement(pugi::xml_node element);
    QString ElementText(const pugi::xml_node &element) const;
    void SetElementText(pugi::xml_node element, const QString &text);
    void SaveUnlessBracket();
    void WriteSkeletonIfMissing();
    void SetAttributeSorted(pugi::xml_node element, const std::string &name, const std::string &value);

    QString m_fileName;
    std::unique_ptr<pugi::xml_document> m_tree;
    QByteArray m_buffer; // the parsed bytes; the tree points into them
    qint64 m_loadTimeMs = 0;
    int m_depth = 0;
    bool m_bracketOpen = false;
    QStringList m_errors;
    bool m_showErrors = true;

    std::vector<std::string> m_cachedParts;
    std::vector<pugi::xml_node> m_cachedNodes;
    // Name -> first child element, for parents with many children, so that reading N
    // keys below one parent costs time proportional to N. Dropped on every change.
    std::unordered_map<const void *, std::unordered_map<std::string, pugi::xml_node>> m_childIndex;
};
