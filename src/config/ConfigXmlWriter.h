#pragma once

#include <pugixml.hpp>
#include <string>
#include <vector>

// Serialises a configuration document in its exact file form: the XML declaration,
// CR LF line breaks (every LF of a text becomes CR LF), no indentation of its own,
// empty elements as a start tag followed by the end tag, attributes in ordinal
// order of their names (each name once), UTF-8 without byte-order mark.
//
// The walk is iterative, so the depth of the tree cannot exhaust the stack. Bytes
// that are not valid UTF-8 are written as U+FFFD and characters that XML 1.0 does
// not allow are dropped, so that every written file parses again.
// sizeHint: the expected size of the result (the size of the parsed file serves well).
std::string SerializeConfigDocument(const pugi::xml_document &document, size_t sizeHint = 0);

// Ordinal comparison of two UTF-8 names in UTF-16 code-unit order.
bool ConfigNameLess(const char *a, const char *b);

// The attributes of element in the order the file form writes them: by ConfigNameLess,
// a name given twice (the parser accepts that) only once, with its first value.
std::vector<pugi::xml_attribute> ConfigAttributesInFileOrder(pugi::xml_node element);
