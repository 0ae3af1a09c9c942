#include "config/TZavConfigXML.h"

#include "common/HVException.h"
#include "config/ConfigDecompress.h"
#include "config/ConfigHooks.h"
#include "config/ConfigValueCodec.h"
#include "config/ConfigXmlWriter.h"
#include "config/ConfigFileSupport.h"
#include "config/OpenSharedFile.h"
#include "ui/translation/Translation.h"

#include <QDebug>
#include <QFileInfo>
#include <cstdlib>
#include <cstring>

namespace {

const char kRootName[] = "HALVREN";
// Parents with more children than this get a name index on their first look-up.
constexpr int kLinearChildSearch = 16;

// Whitespace-only text is kept, so that the line structure of the file survives a
// load and save; comments and CDATA are kept; the declaration is written anew.
constexpr unsigned int kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_ws_pcdata;

QString FromUtf8(const char *s)
{
    return QString::fromUtf8(s);
}

std::string ToUtf8(const QString &s)
{
    return s.toUtf8().toStdString();
}

bool IsAsciiNameStart(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_';
}

// Characters an element or attribute name may hold after its first one. Anything else
// (quotes, "&", "=", controls, ":") would make the written file malformed.
bool IsNameChar(QChar c)
{
    const ushort u = c.unicode();
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' || u == '-' || u == '.';
    return c.isLetterOrNumber() || c.isSurrogate();
}

// First character of text that a name must not hold, or a null char.
QChar InvalidNameChar(const QString &part)
{
    for (QChar c : part)
        if (!IsNameChar(c))
            return c;
    return QChar();
}

bool IsLineBreakText(const pugi::xml_node &node)
{
    return node.type() == pugi::node_pcdata && std::strcmp(node.value(), "\n") == 0;
}

QString FileNameWithoutFolder(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

TZavConfigXML::TZavConfigXML() = default;

TZavConfigXML::~TZavConfigXML()
{
    if (!m_bracketOpen)
        return;
    try {
        EndUpdate();
    } catch (const std::exception &e) {
        qWarning().noquote() << ExceptionMessageText(e);
    }
}

void TZavConfigXML::LoadFromFile(const QString &fileName)
{
    m_fileName = fileName;
    WriteSkeletonIfMissing();
    Reload();
}

void TZavConfigXML::WriteSkeletonIfMissing()
{
    if (QFileInfo::exists(m_fileName))
        return;
    static const char kSkeleton[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                    "<HALVREN Version=\"1.1\">\r\n"
                                    "</HALVREN>\r\n";
    CreateConfigFolders(m_fileName);
    ReplaceSharedFile(m_fileName, std::string(kSkeleton));
    m_loadTimeMs = QFileInfo(m_fileName).lastModified().toMSecsSinceEpoch();
}

void TZavConfigXML::Reload()
{
    WriteSkeletonIfMissing();
    ParseBytes(ReadSharedFile(m_fileName));
    m_loadTimeMs = ConfigClockNow();
}

void TZavConfigXML::ParseBytes(QByteArray bytes)
{
    m_errors.clear();
    if (IsCompressedConfig(bytes)) {
        QString error;
        if (!InflateConfig(bytes, error))
            m_errors.append(error);
    }
    if (m_errors.isEmpty()) {
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        // Without a declaration near the start the file is no XML document of ours:
        // leave it unparsed and keep the tree held so far.
        if (!bytes.left(40).contains("<?xml"))
            return;

        m_tree.reset();
        m_buffer = std::move(bytes);
        auto tree = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result result = tree->load_buffer_inplace(m_buffer.data(), size_t(m_buffer.size()), kParseOptions);
        if (!result) {
            m_errors.append(QStringLiteral("%1 (Byte %2)").arg(QString::fromUtf8(result.description())).arg(result.offset));
        } else {
            // One pass over the tree: a single root element, and no deeper nesting
            // than every later walk can afford.
            int roots = 0;
            for (pugi::xml_node n = tree->first_child(); n; n = n.next_sibling())
                if (n.type() == pugi::node_element)
                    ++roots;
            if (roots != 1)
                m_errors.append(QStringLiteral("Das Dokument muss genau ein Wurzelelement haben"));
            // Element depth, the root being 1; text below the deepest element does not count.
            int depth = 1;
            int maxDepth = 1;
            const pugi::xml_node root = tree->document_element();
            for (pugi::xml_node n = root; n;) {
                if (n.type() == pugi::node_element && n.first_child()) {
                    n = n.first_child();
                    ++depth;
                } else {
                    while (n != root && !n.next_sibling()) {
                        n = n.parent();
                        --depth;
                    }
                    if (n == root)
                        break;
                    n = n.next_sibling();
                }
                if (n.type() == pugi::node_element && depth > maxDepth && (maxDepth = depth) > kMaxNestingDepth)
                    break;
            }
            if (maxDepth > kMaxNestingDepth)
                m_errors.append(QStringLiteral("Elemente zu tief verschachtelt (mehr als %1 Ebenen)").arg(kMaxNestingDepth));
        }
        if (m_errors.isEmpty())
            m_tree = std::move(tree);
        else
            m_buffer.clear();
    }
    TreeChanged();
    if (m_errors.isEmpty())
        return;
    m_tree.reset();
    if (m_showErrors)
        ShowConfigParseErrors(m_errors + QStringList{m_fileName});
    throw HVException(TranslateText("!!Fehler in Datei:") + QLatin1Char(' ') + FileNameWithoutFolder(m_fileName));
}

std::string TZavConfigXML::SerializedContent() const
{
    return m_tree ? SerializeConfigDocument(*m_tree, size_t(m_buffer.size())) : std::string();
}

bool TZavConfigXML::IsReadOnly() const
{
    const QFileInfo info(m_fileName);
    if (!info.exists())
        return true;
    return !(info.permissions() & QFileDevice::WriteOwner) || !info.isWritable();
}

void TZavConfigXML::Save()
{
    if (IsReadOnly())
        return;
    // Without a tree there is nothing to write; the file keeps its content.
    if (!m_tree)
        return;
    const std::string content = SerializeConfigDocument(*m_tree, size_t(m_buffer.size()));
    const QString suffix = QFileInfo(m_fileName).suffix();
    QString backup;
    if (suffix.compare(QStringLiteral("hvk"), Qt::CaseInsensitive) == 0)
        backup = m_fileName.left(m_fileName.size() - suffix.size()) + QStringLiteral("~hvk");
    ReplaceSharedFile(m_fileName, content, backup);
}

void TZavConfigXML::SaveUnlessBracket()
{
    if (!m_bracketOpen)
        Save();
}

void TZavConfigXML::BeginUpdate()
{
    if (m_depth == 0) {
        Reload();
        m_bracketOpen = true;
    }
    ++m_depth;
}

void TZavConfigXML::EndUpdate()
{
    --m_depth;
    if (m_depth <= 0) {
        m_bracketOpen = false;
        Save();
    }
}

void TZavConfigXML::RefreshIfDue()
{
    if (m_bracketOpen || m_fileName.isEmpty())
        return;
    // Only the time-of-day part of the difference counts: a whole day counts as none.
    const qint64 seconds = (std::llabs(ConfigClockNow() - m_loadTimeMs) / 1000) % 86400;
    if (seconds > kRefreshIntervalSeconds)
        Reload();
}

void TZavConfigXML::ResetPathCache()
{
    m_cachedParts.clear();
    m_cachedNodes.clear();
}

void TZavConfigXML::TreeChanged()
{
    ResetPathCache();
    m_childIndex.clear();
}

TZavConfigXML::Parts TZavConfigXML::SplitKey(const QString &key) const
{
    Parts parts;
    parts.names.emplace_back(kRootName);
    const QByteArray utf8 = key.toUtf8();
    const char *p = utf8.constData();
    const char *end = p + utf8.size();
    while (p < end) {
        const char *start = p;
        while (p < end && *p != '\\' && *p != '/')
            ++p;
        if (p > start)
            parts.names.emplace_back(start, size_t(p - start));
        ++p;
    }
    return parts;
}

void TZavConfigXML::CheckKeyForWrite(const QString &key, const Parts &parts) const
{
    for (const std::string &name : parts.names) {
        const QString part = QString::fromStdString(name);
        if (part.contains(QLatin1Char(' ')))
            throw HVException(QStringLiteral("TZavConfigXML: Key darf keine Leerzeichen enthalten: ") + key);
        if (part.contains(QLatin1Char('>')))
            throw HVException(QStringLiteral("TZavConfigXML: Key darf kein > Zeichen enthalten: ") + key);
        if (part.contains(QLatin1Char('<')))
            throw HVException(QStringLiteral("TZavConfigXML: Key darf kein < Zeichen enthalten: ") + key);
        if (!IsAsciiNameStart(part[0]))
            throw HVException(QStringLiteral("TZavConfigXML: Key darf kein ") + part[0] + QStringLiteral(" Zeichen enthalten: ") + key);
        const QChar bad = InvalidNameChar(part);
        if (!bad.isNull())
            throw HVException(QStringLiteral("TZavConfigXML: Key darf kein ") + bad + QStringLiteral(" Zeichen enthalten: ") + key);
    }
    if (int(parts.names.size()) > kMaxNestingDepth)
        throw HVException(QStringLiteral("TZavConfigXML: Key zu tief verschachtelt: ") + key.left(200));
}

pugi::xml_node TZavConfigXML::FindChild(pugi::xml_node parent, const std::string &name)
{
    const auto indexed = m_childIndex.find(parent.internal_object());
    if (indexed != m_childIndex.end()) {
        const auto hit = indexed->second.find(name);
        return hit == indexed->second.end() ? pugi::xml_node() : hit->second;
    }
    int seen = 0;
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        if (name == child.name())
            return child;
        if (++seen > kLinearChildSearch)
            break;
    }
    if (seen <= kLinearChildSearch)
        return pugi::xml_node();
    // Many children: index them once (first element of each name wins).
    auto &index = m_childIndex[parent.internal_object()];
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            index.emplace(child.name(), child);
    const auto hit = index.find(name);
    return hit == index.end() ? pugi::xml_node() : hit->second;
}

pugi::xml_node TZavConfigXML::FindElement(const QString &key, bool refresh)
{
    if (refresh)
        RefreshIfDue();
    if (!m_tree)
        return pugi::xml_node();
    const Parts parts = SplitKey(key);
    if (m_cachedNodes.empty()) {
        m_cachedNodes.push_back(m_tree->document_element());
        m_cachedParts.assign(1, parts.names[0]);
    }
    size_t reuse = 1;
    while (reuse < parts.names.size() && reuse < m_cachedNodes.size() && parts.names[reuse] == m_cachedParts[reuse])
        ++reuse;
    m_cachedNodes.resize(reuse);
    m_cachedParts.resize(reuse);
    pugi::xml_node node = m_cachedNodes.back();
    for (size_t i = reuse; i < parts.names.size(); ++i) {
        node = FindChild(node, parts.names[i]);
        if (!node)
            return node;
        m_cachedNodes.push_back(node);
        m_cachedParts.push_back(parts.names[i]);
    }
    return node;
}

pugi::xml_node TZavConfigXML::CreateChildElement(pugi::xml_node parent, const char *name)
{
    // One element per line: a line break before the first child and after each one.
    if (!parent.first_child())
        parent.append_child(pugi::node_pcdata).set_value("\n");
    pugi::xml_node element = parent.append_child(name);
    parent.append_child(pugi::node_pcdata).set_value("\n");
    TreeChanged();
    return element;
}

pugi::xml_node TZavConfigXML::FindOrCreateElement(const QString &key)
{
    const Parts parts = SplitKey(key);
    CheckKeyForWrite(key, parts);
    RefreshIfDue();
    ResetPathCache();
    if (!m_tree)
        return pugi::xml_node();
    pugi::xml_node node = m_tree->document_element();
    for (size_t i = 1; i < parts.names.size(); ++i) {
        pugi::xml_node child = FindChild(node, parts.names[i]);
        node = child ? child : CreateChildElement(node, parts.names[i].c_str());
    }
    return node;
}

void TZavConfigXML::RemoveElement(pugi::xml_node element)
{
    pugi::xml_node parent = element.parent();
    pugi::xml_node next = element.next_sibling();
    if (next && IsLineBreakText(next))
        parent.remove_child(next);
    parent.remove_child(element);
    TreeChanged();
}

QString TZavConfigXML::ElementText(const pugi::xml_node &element) const
{
    pugi::xml_node child = element.first_child();
    if (!child)
        return QString();
    QString text;
    for (; child; child = child.next_sibling()) {
        if (child.type() != pugi::node_pcdata)
            continue;
        text = TrimControls(text) + DecodeElementEntities(FromUtf8(child.value()));
    }
    if (text.endsWith(QLatin1Char('\n')) && !text.endsWith(QStringLiteral("\r\n")))
        text.chop(1);
    return TrimControls(text);
}

void TZavConfigXML::SetElementText(pugi::xml_node element, const QString &text)
{
    const std::string value = ToUtf8(text);
    pugi::xml_node first = element.first_child();
    if (first && first.type() == pugi::node_pcdata) {
        if (value != first.value())
            first.set_value(value.c_str());
    } else if (first) {
        element.insert_child_before(pugi::node_pcdata, first).set_value(value.c_str());
    } else {
        element.append_child(pugi::node_pcdata).set_value(value.c_str());
    }
}

QString TZavConfigXML::ReadString(const QString &key, const QString &defaultValue)
{
    int type = -1;
    QString payload;
    // The text was trimmed as a whole; the string itself loses its outer blanks too.
    if (ReadRawData(key, type, payload) && type == zvtString)
        return TrimControls(payload);
    return defaultValue;
}

void TZavConfigXML::WriteString(const QString &key, const QString &text)
{
    WriteRawData(key, zvtString, text);
}

int TZavConfigXML::ReadKeyInteger(const QString &key, int defaultValue)
{
    int type = -1;
    QString payload;
    int value = 0;
    if (ReadRawData(key, type, payload) && type == zvtInteger && ParseConfigInteger(payload, value))
        return value;
    return defaultValue;
}

void TZavConfigXML::WriteKeyInteger(const QString &key, int value)
{
    WriteRawData(key, zvtInteger, QString::number(value));
}

bool TZavConfigXML::ReadBool(const QString &key, bool defaultValue)
{
    int type = -1;
    QString payload;
    if (ReadRawData(key, type, payload) && type == zvtBoolean)
        return payload != QStringLiteral("False");
    return defaultValue;
}

void TZavConfigXML::WriteBool(const QString &key, bool value)
{
    WriteRawData(key, zvtBoolean, value ? QStringLiteral("True") : QStringLiteral("False"));
}

QString TZavConfigXML::ReadStringList(const QString &key, QStringList &list)
{
    list.clear();
    int type = -1;
    QString payload;
    if (!ReadRawData(key, type, payload) || type != zvtList)
        return QString();
    list = DecodeConfigList(payload);
    return QStringLiteral("OK");
}

void TZavConfigXML::WriteStringList(const QString &key, const QStringList &list)
{
    WriteRawData(key, zvtList, EncodeConfigList(list).mid(1));
}

QString TZavConfigXML::ReadText(const QString &key)
{
    const pugi::xml_node element = FindElement(key, true);
    return element ? ElementText(element) : QString();
}

bool TZavConfigXML::ReadRawData(const QString &key, int &valueType, QString &payload)
{
    const QString text = ReadText(key);
    if (text.isEmpty())
        return false;
    const int type = ValueTypeOfLetter(text[0]);
    if (type < 0)
        return false;
    valueType = type;
    payload = text.mid(1);
    return true;
}

void TZavConfigXML::WriteRawData(const QString &key, int valueType, const QString &payload)
{
    const QChar letter = ValueTypeLetter(valueType);
    if (letter.isNull())
        throw HVException(QStringLiteral("Unbekannter Typ in TZavConfigXML.WriteRawData"));
    pugi::xml_node element = FindOrCreateElement(key);
    if (!element) {
        ShowConfigMessage(ConfigMessageKind::Error, QStringLiteral("Entry cannot be added."));
        return;
    }
    SetElementText(element, letter + payload);
    SaveUnlessBracket();
}

QString TZavConfigXML::ReadValue(const QString &key, const QString &name)
{
    const pugi::xml_node element = FindElement(key, true);
    if (!element)
        return QString();
    return FromUtf8(element.attribute(ToUtf8(name).c_str()).value());
}

void TZavConfigXML::SetAttributeSorted(pugi::xml_node element, const std::string &name, const std::string &value)
{
    if (pugi::xml_attribute existing = element.attribute(name.c_str())) {
        existing.set_value(value.c_str());
        return;
    }
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        if (ConfigNameLess(name.c_str(), a.name())) {
            element.insert_attribute_before(name.c_str(), a).set_value(value.c_str());
            return;
        }
    }
    element.append_attribute(name.c_str()).set_value(value.c_str());
}

void TZavConfigXML::WriteValue(const QString &key, const QString &name, const QString &text)
{
    if (name.isEmpty() || !IsAsciiNameStart(name[0]) || !InvalidNameChar(name).isNull())
        throw HVException(QStringLiteral("TZavConfigXML: Ungültiger Name eines Wertes: ") + name);
    pugi::xml_node element = FindOrCreateElement(key);
    if (!element) {
        ShowConfigMessage(ConfigMessageKind::Error, QStringLiteral("Entry cannot be added."));
        return;
    }
    SetAttributeSorted(element, ToUtf8(name), ToUtf8(SanitizeAttributeValue(text)));
    SaveUnlessBracket();
}

int TZavConfigXML::ReadInteger(const QString &key, const QString &name, int defaultValue)
{
    int value = 0;
    return ParseConfigInteger(ReadValue(key, name), value) ? value : defaultValue;
}

void TZavConfigXML::ReadValues(const QString &key, QStringList &list)
{
    const pugi::xml_node element = FindElement(key, true);
    if (!element)
        return;
    // A file written elsewhere may hold its attributes in another order.
    for (const pugi::xml_attribute &a : ConfigAttributesInFileOrder(element))
        list.append(FromUtf8(a.name()) + QLatin1Char('|') + FromUtf8(a.value()));
}

void TZavConfigXML::DeleteValue(const QString &key, const QString &name)
{
    pugi::xml_node element = FindElement(key, true);
    ResetPathCache();
    if (element)
        element.remove_attribute(ToUtf8(name).c_str());
}

bool TZavConfigXML::KeyExists(const QString &key)
{
    return bool(FindElement(key, false));
}

void TZavConfigXML::ReadSubKeys(const QString &key, QStringList &list)
{
    list.clear();
    const pugi::xml_node element = FindElement(key, false);
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            list.append(FromUtf8(child.name()));
}

void TZavConfigXML::ReadAllSubKeys(const QString &key, QStringList &list)
{
    list.clear();
    const pugi::xml_node top = FindElement(key, false);
    if (!top)
        return;
    // Iterative pre-order walk; lengths remembers where each level's path ends.
    QString path;
    std::vector<qsizetype> lengths;
    pugi::xml_node node = top.first_child();
    while (node) {
        if (node.type() == pugi::node_element) {
            lengths.push_back(path.size());
            if (!path.isEmpty())
                path += QLatin1Char('\\');
            path += FromUtf8(node.name());
            list.append(path);
            if (pugi::xml_node child = node.first_child()) {
                node = child;
                continue;
            }
            path.truncate(lengths.back());
            lengths.pop_back();
        }
        while (!node.next_sibling() && node.parent() != top) {
            node = node.parent();
            path.truncate(lengths.back());
            lengths.pop_back();
        }
        node = node.next_sibling();
    }
}

void TZavConfigXML::WriteSubKeys(const QString &key, const QStringList &names)
{
    pugi::xml_node element = FindOrCreateElement(key);
    if (!element) {
        ShowConfigMessage(ConfigMessageKind::Error, QStringLiteral("Entry cannot be added."));
        return;
    }
    for (const QString &name : names) {
        const QString childKey = key.isEmpty() ? name : key + QLatin1Char('\\') + name;
        CheckKeyForWrite(childKey, SplitKey(childKey));
        const std::string utf8 = ToUtf8(name);
        if (!FindChild(element, utf8))
            CreateChildElement(element, utf8.c_str());
    }
    std::vector<pugi::xml_node> doomed;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && !names.contains(FromUtf8(child.name())))
            doomed.push_back(child);
    for (pugi::xml_node child : doomed)
        RemoveElement(child);
    ResetPathCache();
    SaveUnlessBracket();
}

void TZavConfigXML::DeleteKey(const QString &key)
{
    pugi::xml_node element = FindElement(key, true);
    ResetPathCache();
    // The root stays: a document without it could not be written.
    if (!element || element == m_tree->document_element())
        return;
    RemoveElement(element);
    if (!m_bracketOpen) {
        Save();
        Reload();
    }
}

void TZavConfigXML::ClearValue(const QString &key)
{
    pugi::xml_node element = FindElement(key, true);
    ResetPathCache();
    if (!element) {
        ShowConfigMessage(ConfigMessageKind::Information, QStringLiteral("Nothing to delete"));
        return;
    }
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if ((child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) && !IsLineBreakText(child))
            child.set_value("");
    SaveUnlessBracket();
}

bool TZavConfigXML::HasValueOnPath(const QString &key, const QString &name, const QString &text)
{
    RefreshIfDue();
    if (!m_tree)
        return false;
    const Parts parts = SplitKey(key);
    const std::string attrName = ToUtf8(name);
    const std::string wanted = ToUtf8(text);
    pugi::xml_node node = m_tree->document_element();
    for (size_t i = 1; i < parts.names.size(); ++i) {
        node = FindChild(node, parts.names[i]);
        if (!node)
            return false;
        const pugi::xml_attribute a = node.attribute(attrName.c_str());
        if (a && wanted == a.value())
            return true;
    }
    return false;
}

void TZavConfigXML::CopyKeyFrom(TZavConfigXML &other, const QString &key)
{
    pugi::xml_node target = FindOrCreateElement(key);
    if (!target) {
        ShowConfigMessage(ConfigMessageKind::Error, QStringLiteral("Entry cannot be added."));
        return;
    }
    std::vector<pugi::xml_node> doomed;
    for (pugi::xml_node child = target.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            doomed.push_back(child);
    for (pugi::xml_node child : doomed)
        RemoveElement(child);

    const pugi::xml_node source = other.FindElement(key, true);
    if (source) {
        auto copyValueAndAttributes = [this, &other](const pugi::xml_node &from, pugi::xml_node to) {
            const QString text = other.ElementText(from);
            if (!text.isEmpty())
                SetElementText(to, text);
            for (pugi::xml_attribute a = from.first_attribute(); a; a = a.next_attribute())
                SetAttributeSorted(to, a.name(), a.value());
        };
        copyValueAndAttributes(source, target);
        // Iterative walk over the source subtree, creating the twin of each element.
        std::vector<std::pair<pugi::xml_node, pugi::xml_node>> stack;
        for (pugi::xml_node child = source.last_child(); child; child = child.previous_sibling())
            if (child.type() == pugi::node_element)
                stack.emplace_back(child, target);
        // Children are created in document order: the stack holds them reversed.
        while (!stack.empty()) {
            auto [from, parent] = stack.back();
            stack.pop_back();
            pugi::xml_node to = CreateChildElement(parent, from.name());
            copyValueAndAttributes(from, to);
            for (pugi::xml_node child = from.last_child(); child; child = child.previous_sibling())
                if (child.type() == pugi::node_element)
                    stack.emplace_back(child, to);
        }
    }
    ResetPathCache();
    SaveUnlessBracket();
}

double TZavConfigXML::ReadVersion()
{
    RefreshIfDue();
    double version = 1.0;
    if (!m_tree)
        return version;
    const pugi::xml_attribute a = m_tree->document_element().attribute("Version");
    if (!a || !ParseConfigFloat(FromUtf8(a.value()), version))
        return 1.0;
    return version;
}

void TZavConfigXML::WriteVersion(double version)
{
    pugi::xml_node root = FindOrCreateElement(QString());
    if (!root) {
        ShowConfigMessage(ConfigMessageKind::Error, QStringLiteral("Entry cannot be added."));
        return;
    }
    SetAttributeSorted(root, "Version", ToUtf8(FormatConfigFloat(version)));
    SaveUnlessBracket();
}

void TZavConfigXML::WriteProgVersion(const QString &text)
{
    BeginUpdate();
    try {
        WriteValue(QString(), QStringLiteral("ProgVersion"), text);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}
