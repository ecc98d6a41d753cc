#include "xml/element_factory.h"

#include "base/error.h"
#include "text/cp1252.h"
#include "xml/xml_node.h"

namespace quenda::xml {
namespace {

constexpr const char* kFlowDataPrefix = "FD";

struct SplitName {
  std::string prefix;  // UTF-8, empty when none
  std::string local;
};

SplitName Split(const std::string& qname) {
  const std::string utf8 = ToXml(qname);
  if (utf8.empty() || xmlValidateQName(BAD_CAST utf8.c_str(), 0) != 0) {
    throw Error(kErrInvalidArgument, "Ungültiger XML-Name: '"_cp + qname + "'");
  }
  const std::size_t colon = utf8.find(':');
  if (colon == std::string::npos) return {{}, utf8};
  return {utf8.substr(0, colon), utf8.substr(colon + 1)};
}

}  // namespace

ElementFactory::ElementFactory(xmlDoc* doc, xmlNode* scope, const std::string& flowDataUri)
    : doc_(doc), scope_(scope), flowDataUri_(ToXml(flowDataUri)) {}

LooseNode ElementFactory::NewElement(const std::string& qname) const {
  const SplitName name = Split(qname);
  LooseNode element(xmlNewDocNode(doc_, nullptr, BAD_CAST name.local.c_str(), nullptr));
  if (!element) throw Error(kErrInvalidArgument, "Element '" + qname + "' nicht angelegt");
  if (name.prefix.empty()) {
    // The default namespace in scope, as the element would get it when loaded again.
    xmlSetNs(element.get(), scope_ != nullptr ? xmlSearchNs(doc_, scope_, nullptr) : nullptr);
  } else {
    xmlSetNs(element.get(), Namespace(element.get(), name.prefix, qname));
  }
  return element;
}

void ElementFactory::SetAttribute(xmlNode* element, const std::string& qname,
                                  const std::string& value) const {
  const SplitName name = Split(qname);
  if (name.prefix == "xmlns" || (name.prefix.empty() && name.local == "xmlns")) {
    throw Error(kErrInvalidArgument, "Namensraum-Deklaration als Attribut: '"_cp + qname + "'");
  }
  xmlNs* ns = name.prefix.empty() ? nullptr : Namespace(element, name.prefix, qname);
  const std::string text = XmlText(value);
  xmlSetNsProp(element, ns, BAD_CAST name.local.c_str(), BAD_CAST text.c_str());
}

xmlNs* ElementFactory::Namespace(xmlNode* element, const std::string& prefix,
                                 const std::string& qname) const {
  const xmlChar* p = BAD_CAST prefix.c_str();
  if (xmlNs* own = xmlSearchNs(doc_, element, p)) return own;
  if (scope_ != nullptr) {
    if (xmlNs* inScope = xmlSearchNs(doc_, scope_, p)) return inScope;
  }
  if (prefix != kFlowDataPrefix) {
    throw Error(kErrInvalidArgument, "Das Namensraum-Präfix '"_cp + Utf8ToCp1252(prefix) +
                                         "' ist im Dokument nicht deklariert: " + qname);
  }
  xmlNode* root = xmlDocGetRootElement(doc_);
  xmlNode* holder = root != nullptr && scope_ != nullptr ? root : element;
  return xmlNewNs(holder, BAD_CAST flowDataUri_.c_str(), p);
}

std::string XmlText(const std::string& text) {
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      throw Error(kErrInvalidArgument, "Unzulässiges Steuerzeichen (Code " + std::to_string(code) +
                                           ") im Text '" + text + "'");
    }
  }
  return ToXml(text);
}

}  // namespace quenda::xml
