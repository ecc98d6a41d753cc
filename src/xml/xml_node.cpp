#include "xml/xml_node.h"

#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda::xml {

std::string ToXml(std::string_view cp1252) { return Cp1252ToUtf8(cp1252); }

std::string FromXml(const xmlChar* utf8) {
  if (utf8 == nullptr) return {};
  return Utf8ToCp1252(reinterpret_cast<const char*>(utf8));
}

Error ObjectNotSet() { return PlatformError(kErrObjectNotSet); }

Error TypeMismatch() { return PlatformError(kErrTypeMismatch); }

std::string LocalName(const xmlNode* node) {
  if (node == nullptr) throw ObjectNotSet();
  if (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE) return {};
  return FromXml(node->name);
}

std::string QualifiedName(const xmlNode* node) {
  const std::string local = LocalName(node);
  if (node->ns == nullptr || node->ns->prefix == nullptr) return local;
  return FromXml(node->ns->prefix) + ":" + local;
}

bool NameMatches(const xmlNode* node, std::string_view name) {
  return UpperCase(Trim(LocalName(node))) == UpperCase(Trim(name));
}

std::string NodeText(const xmlNode* node) {
  if (node == nullptr) throw ObjectNotSet();
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = FromXml(content);
  xmlFree(content);
  return text;
}

xmlAttr* AttributeAt(const xmlNode* node, long index) {
  if (node == nullptr) throw ObjectNotSet();
  if (node->type != XML_ELEMENT_NODE || index < 0) return nullptr;
  xmlAttr* attr = node->properties;
  for (long i = 0; attr != nullptr && i < index; ++i) attr = attr->next;
  return attr;
}

std::string AttributeValue(const xmlAttr* attr) {
  return NodeText(reinterpret_cast<const xmlNode*>(attr));
}

bool IsInside(const xmlNode* node, const xmlNode* root) {
  for (; node != nullptr; node = node->parent) {
    if (node == root) return true;
  }
  return false;
}

long ChildCount(const xmlNode* node) {
  if (node == nullptr) throw ObjectNotSet();
  long count = 0;
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) ++count;
  return count;
}

}  // namespace quenda::xml
