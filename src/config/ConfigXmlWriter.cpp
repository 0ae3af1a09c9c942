#include "config/ConfigXmlWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

enum class Context { Text, Attribute, Raw };

// Length of a valid UTF-8 sequence at p (at most n bytes left), or 0 when invalid.
size_t ValidUtf8Length(const unsigned char *p, size_t n)
{
    const unsigned char c = p[0];
    size_t len;
    unsigned int cp;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (n < len)
        return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    if (cp >= 0xD800 && cp <= 0xDFFF)
        return 0;
    return len;
}

// Bytes that need a look: controls, markup characters and every non-ASCII byte.
struct SpecialTable
{
    bool text[256] = {};
    bool attr[256] = {};
    bool raw[256] = {};
    SpecialTable()
    {
        for (int c = 0; c < 256; ++c) {
            const bool base = c < 0x20 || c >= 0x80;
            raw[c] = base;
            text[c] = base || c == '&' || c == '<' || c == '>';
            attr[c] = text[c] || c == '"' || c == '\'';
        }
    }
};

const SpecialTable &Specials()
{
    static const SpecialTable table;
    return table;
}

void AppendEscaped(std::string &out, const char *s, Context context)
{
    const SpecialTable &t = Specials();
    const bool *special = context == Context::Text ? t.text : context == Context::Attribute ? t.attr : t.raw;
    const auto *p = reinterpret_cast<const unsigned char *>(s);
    const unsigned char *end = p + std::strlen(s);
    while (p < end) {
        const unsigned char *run = p;
        while (p < end && !special[*p])
            ++p;
        out.append(reinterpret_cast<const char *>(run), size_t(p - run));
        if (p >= end)
            break;
        const unsigned char c = *p;
        if (c >= 0x80) {
            const size_t len = ValidUtf8Length(p, size_t(end - p));
            if (len == 0) {
                out.append("\xEF\xBF\xBD");
                ++p;
            } else if (len == 3 && p[0] == 0xEF && p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF)) {
                out.append("\xC2\xBF"); // U+FFFE and U+FFFF are not XML characters
                p += 3;
            } else {
                out.append(reinterpret_cast<const char *>(p), len);
                p += len;
            }
            continue;
        }
        ++p;
        if (context == Context::Attribute) {
            switch (c) {
            case '\t': out.append("&#x09;"); break;
            case '\n': out.append("&#x0A;"); break;
            case '\r': out.append("&#x0D;"); break;
            case '"': out.append("&quot;"); break;
            case '&': out.append("&amp;"); break;
            case '\'': out.append("&apos;"); break;
            case '<': out.append("&lt;"); break;
            case '>': out.append("&gt;"); break;
            default: break; // other controls are not XML characters: dropped
            }
        } else {
            switch (c) {
            case '\n': out.append("\r\n"); break;
            case '\t': out.push_back('\t'); break;
            case '\r': out.append(context == Context::Text ? "&#xD;" : "\r"); break;
            case '&': out.append("&amp;"); break;
            case '<': out.append("&lt;"); break;
            case '>': out.append("&gt;"); break;
            default: break;
            }
        }
    }
}

// Comment, CDATA and processing-instruction bodies: cleaned like text first (dropping
// a character may join an end marker), then kept free of their own end marker.
void AppendBody(std::string &out, const char *s, const char *forbidden, const char *replacement)
{
    std::string body;
    AppendEscaped(body, s, Context::Raw);
    const size_t flen = std::strlen(forbidden);
    // Resume at the middle of the replacement: it may hold the marker itself ("]]>"
    // split as "]]]]><![CDATA[>"), and "--" replaced by "- -" may form a new "--".
    const size_t resume = std::strlen(replacement) > flen ? std::strlen(replacement) - 1 : 1;
    for (size_t pos = body.find(forbidden); pos != std::string::npos; pos = body.find(forbidden, pos + resume))
        body.replace(pos, flen, replacement);
    out.append(body);
}

void WriteAttributes(std::string &out, const pugi::xml_node &element)
{
    pugi::xml_attribute first = element.first_attribute();
    if (!first)
        return;
    bool sorted = true;
    for (pugi::xml_attribute a = first, prev; a; prev = a, a = a.next_attribute())
        if (prev && !ConfigNameLess(prev.name(), a.name()))
            sorted = false;
    auto writeOne = [&out](const pugi::xml_attribute &a) {
        out.push_back(' ');
        out.append(a.name());
        out.append("=\"");
        AppendEscaped(out, a.value(), Context::Attribute);
        out.push_back('"');
    };
    if (sorted) {
        for (pugi::xml_attribute a = first; a; a = a.next_attribute())
            writeOne(a);
        return;
    }
    for (const pugi::xml_attribute &a : ConfigAttributesInFileOrder(element))
        writeOne(a);
}

void WriteLeaf(std::string &out, const pugi::xml_node &node)
{
    switch (node.type()) {
    case pugi::node_pcdata:
        AppendEscaped(out, node.value(), Context::Text);
        break;
    case pugi::node_cdata:
        out.append("<![CDATA[");
        AppendBody(out, node.value(), "]]>", "]]]]><![CDATA[>"); // split, content unchanged
        out.append("]]>");
        break;
    case pugi::node_comment:
        out.append("<!--");
        AppendBody(out, node.value(), "--", "- -");
        if (!out.empty() && out.back() == '-')
            out.push_back(' ');
        out.append("-->");
        break;
    case pugi::node_pi:
        if (std::strlen(node.name()) == 0)
            break;
        out.append("<?");
        out.append(node.name());
        if (*node.value()) {
            out.push_back(' ');
            AppendBody(out, node.value(), "?>", "? >");
        }
        out.append("?>");
        break;
    default:
        break; // declarations and document types are not written back
    }
}

void WriteElementTree(std::string &out, const pugi::xml_node &top)
{
    pugi::xml_node node = top;
    for (;;) {
        if (node.type() == pugi::node_element) {
            out.push_back('<');
            out.append(node.name());
            WriteAttributes(out, node);
            out.push_back('>');
            if (pugi::xml_node child = node.first_child()) {
                node = child;
                continue;
            }
            out.append("</");
            out.append(node.name());
            out.push_back('>');
        } else {
            WriteLeaf(out, node);
        }
        // Climb until a node with a next sibling is found, closing elements on the way.
        while (node != top && !node.next_sibling()) {
            node = node.parent();
            out.append("</");
            out.append(node.name());
            out.push_back('>');
        }
        if (node == top)
            return;
        node = node.next_sibling();
    }
}

} // namespace

bool ConfigNameLess(const char *a, const char *b)
{
    const auto *x = reinterpret_cast<const unsigned char *>(a);
    const auto *y = reinterpret_cast<const unsigned char *>(b);
    while (*x && *x == *y) {
        ++x;
        ++y;
    }
    const unsigned char cx = *x;
    const unsigned char cy = *y;
    // UTF-8 byte order equals code point order; UTF-16 differs only where a character
    // above U+FFFF (lead F0-F4, a surrogate pair D800-DFFF) meets one in E000-FFFF.
    const bool xSupp = cx >= 0xF0;
    const bool ySupp = cy >= 0xF0;
    if (xSupp && (cy == 0xEE || cy == 0xEF))
        return true;
    if (ySupp && (cx == 0xEE || cx == 0xEF))
        return false;
    return cx < cy;
}

std::string SerializeConfigDocument(const pugi::xml_document &document, size_t sizeHint)
{
    std::string out;
    out.reserve(std::max<size_t>(sizeHint + sizeHint / 8, 64 * 1024));
    out.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        switch (node.type()) {
        case pugi::node_element:
            WriteElementTree(out, node);
            out.append("\r\n");
            break;
        case pugi::node_comment:
        case pugi::node_pi:
            WriteLeaf(out, node);
            out.append("\r\n");
            break;
        default:
            break;
        }
    }
    return out;
}

std::vector<pugi::xml_attribute> ConfigAttributesInFileOrder(pugi::xml_node element)
{
    std::vector<pugi::xml_attribute> attrs;
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute())
        attrs.push_back(a);
    std::stable_sort(attrs.begin(), attrs.end(),
                     [](const pugi::xml_attribute &x, const pugi::xml_attribute &y) { return ConfigNameLess(x.name(), y.name()); });
    const auto duplicate = [](const pugi::xml_attribute &x, const pugi::xml_attribute &y) {
        return std::strcmp(x.name(), y.name()) == 0;
    };
    attrs.erase(std::unique(attrs.begin(), attrs.end(), duplicate), attrs.end());
    return attrs;
}
