// Small read helpers on libxml2 nodes for DOMWrapper: names, texts and attributes as
// CP1252, and the platform errors that a missing node or a wrong node type gives.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>

#include "base/error.h"

namespace quenda::xml {

// CP1252 text to the UTF-8 that the document holds, and back.
std::string ToXml(std::string_view cp1252);
std::string FromXml(const xmlChar* utf8);

// Error 91 ("Objektvariable ... nicht festgelegt") and 13 ("Typen unverträglich").
Error ObjectNotSet();
Error TypeMismatch();

// `node` itself; throws 91 when it is null.
template <class T>
T* Required(T* node) {
  if (node == nullptr) throw ObjectNotSet();
  return node;
}

// Local name of an element or attribute; "" for every other node type.
std::string LocalName(const xmlNode* node);
// Name as written in the document: "prefix:local" or "local".
std::string QualifiedName(const xmlNode* node);
// True when LocalName(node) trimmed and upper-cased equals `name` trimmed and upper-cased.
bool NameMatches(const xmlNode* node, std::string_view name);

// The text of a node: the concatenated text of an element's descendants, the value of an
// attribute, the content of a text node. Throws 91 for null.
std::string NodeText(const xmlNode* node);

// The attribute at 0-based `index` (namespace declarations are not attributes), or null.
xmlAttr* AttributeAt(const xmlNode* node, long index);
// The value of an attribute as CP1252.
std::string AttributeValue(const xmlAttr* attr);

// True when `node` is `root` or lies below it (attributes count as below their element).
bool IsInside(const xmlNode* node, const xmlNode* root);

// Number of child nodes (text included), and whether there is one.
long ChildCount(const xmlNode* node);

}  // namespace quenda::xml
