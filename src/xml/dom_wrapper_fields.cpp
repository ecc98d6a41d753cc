// DOMWrapper: positioning on elements, and reading and writing the FlowData fields around
// the current node.
#include "text/cp1252.h"
#include "text/tokens.h"
#include "xml/document_store.h"
#include "xml/dom_wrapper.h"
#include "xml/element_factory.h"
#include "xml/tree_edit.h"
#include "xml/xml_node.h"

namespace quenda {
namespace {

const xmlNode* AsNode(const xmlAttr* attr) { return reinterpret_cast<const xmlNode*>(attr); }

// The first attribute's value; an element without attributes is error 91.
std::string FirstAttributeValue(const XmlNode* node) {
  return xml::AttributeValue(xml::Required(xml::AttributeAt(node, 0)));
}

}  // namespace

template <class Accept>
bool DOMWrapper::Position(bool bPreserve, Accept accept) {
  try {
    if (!bPreserve) {
      currentNode_ = xmlDocGetRootElement(Document());
      Collect();
    }
    while (true) {
      currentNode_ = NextNode();
      if (currentNode_ == nullptr) return false;
      if (accept(currentNode_)) return true;
    }
  } catch (const Error& e) {
    ShowNumbered(e);
    return false;
  }
}

bool DOMWrapper::PosNode(const std::string& sNodename, bool bPreserve) {
  return Position(bPreserve, [&](XmlNode* node) { return xml::NameMatches(node, sNodename); });
}

bool DOMWrapper::PosNodeByName(const std::string& sNodename, const std::string& sNameAttr,
                               bool bPreserve) {
  const std::string wanted = UpperCase(sNameAttr);
  return Position(bPreserve, [&](XmlNode* node) {
    return xml::NameMatches(node, sNodename) && UpperCase(FirstAttributeValue(node)) == wanted;
  });
}

bool DOMWrapper::PosNodeByAttribut(const std::string& sNodename, const std::string& sNameAttr,
                                   const std::string& sValAttr, bool bPreserve) {
  const std::string name = UpperCase(sNameAttr);
  const std::string wanted = UpperCase(sValAttr);
  return Position(bPreserve, [&](XmlNode* node) {
    if (!xml::NameMatches(node, sNodename)) return false;
    for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
      if (UpperCase(xml::LocalName(AsNode(attr))) == name) {
        return UpperCase(xml::AttributeValue(attr)) == wanted;
      }
    }
    return UpperCase(FirstAttributeValue(node)) == wanted;
  });
}

std::string DOMWrapper::GetNextElemName() {
  std::string result = "EOF";
  try {
    workNode_ = NextNode();
    if (workNode_ != nullptr) result = xml::LocalName(workNode_);
  } catch (const Error&) {
    // The end of the walk, or a failure on it: the preset result stands.
  }
  return result;
}

std::string DOMWrapper::GetElementByName(const std::string& qu_path_name) {
  try {
    return xml::NodeText(CurrentQuery(qu_path_name));
  } catch (const Error& e) {
    throw Error(kErrComposed, Trim("Fehler beim Auslesen des XML-Tags '" + qu_path_name + "'  " +
                                   e.Description()));
  }
}

bool DOMWrapper::CheckElementByName(const std::string& qu_path_name) {
  try {
    return CurrentQuery(qu_path_name) != nullptr;
  } catch (const Error&) {
    return false;
  }
}

std::string DOMWrapper::GetChild(const std::string& sFieldName) {
  XmlNode* current = xml::Required(currentNode_);
  std::string text;
  for (XmlNode* child = current->children; child != nullptr; child = child->next) {
    workNode_ = child;
    if (xml::NameMatches(child, sFieldName)) text = xml::NodeText(child);
  }
  return text;
}

std::string DOMWrapper::GetField() const { return xml::NodeText(currentNode_); }

bool DOMWrapper::GetAttribut(const std::string& sAttributName, std::string& sType) {
  try {
    const XmlNode* current = xml::Required(currentNode_);
    for (long i = 0; const xmlAttr* attr = xml::AttributeAt(current, i); ++i) {
      if (xml::NameMatches(AsNode(attr), sAttributName)) {
        sType = xml::AttributeValue(attr);
        return true;
      }
    }
  } catch (const Error&) {
    // No current node: no attribute.
  }
  return false;
}

bool DOMWrapper::HasChilds() const { return xml::ChildCount(currentNode_) > 0; }

std::int16_t DOMWrapper::GetAnzChilds() {
  try {
    const long count = xml::ChildCount(currentNode_);
    if (count > 32767) throw PlatformError(kErrOverflow);
    return static_cast<std::int16_t>(count);
  } catch (const Error& e) {
    ShowNumbered(e);
    return 0;
  }
}

std::string DOMWrapper::SetElementByName(const std::string& qu_path_name,
                                         const std::string& newvalue) {
  Edited();
  try {
    XmlNode* node = xml::Required(CurrentQuery(qu_path_name));
    SetText(node, newvalue);
    return xml::NodeText(node);
  } catch (const Error& e) {
    ShowPlain(e);
    return {};
  }
}

void DOMWrapper::SetChild(const std::string& sFieldName, const std::string& sValue) {
  Edited();
  XmlNode* current = xml::Required(currentNode_);
  for (XmlNode* child = current->children; child != nullptr; child = child->next) {
    workNode_ = child;
    if (xml::NameMatches(child, sFieldName)) SetText(child, sValue);
  }
}

void DOMWrapper::AddNode(const std::string& sNodename) {
  Edited();
  XmlNode* current = xml::Required(currentNode_);
  const xml::ElementFactory factory(current->doc, current, flowDataUri_);
  workNode_ = xml::Attach(current, factory.NewElement(sNodename));
}

void DOMWrapper::AddField(const std::string& sName, const std::string& sFlowType,
                          const std::string& sValue) {
  Edited();
  XmlNode* current = xml::Required(currentNode_);
  const xml::ElementFactory factory(current->doc, current, flowDataUri_);
  xml::LooseNode field = factory.NewElement("FD:Field");
  factory.SetAttribute(field.get(), "Name", sName);
  factory.SetAttribute(field.get(), "FlowType", sFlowType);
  SetText(field.get(), sValue);
  workNode_ = xml::Attach(current, std::move(field));
}

void DOMWrapper::AddDatas(const std::string& sName) {
  Edited();
  XmlNode* current = xml::Required(currentNode_);
  const xml::ElementFactory factory(current->doc, current, flowDataUri_);
  xml::LooseNode datas = factory.NewElement("FD:Datas");
  factory.SetAttribute(datas.get(), "Table", sName);
  workNode_ = xml::Attach(current, std::move(datas));
}

void DOMWrapper::CloneNode() {
  Edited();
  XmlNode* current = xml::Required(currentNode_);
  XmlNode* parent = xml::Required(current->parent);
  xml::Attach(parent, xml::CopyForAppend(current, current->doc));
}

void DOMWrapper::SetText(XmlNode* node, const std::string& value) {
  const std::string text = xml::XmlText(value);
  const auto* content = reinterpret_cast<const xmlChar*>(text.c_str());
  switch (node->type) {
    case XML_ELEMENT_NODE:
      while (node->children != nullptr) store_->Discard(node->children, {currentNode_, workNode_});
      if (!text.empty()) xml::LinkLast(node, xmlNewDocText(node->doc, content));
      return;
    case XML_ATTRIBUTE_NODE:
      xmlSetNsProp(node->parent, node->ns, node->name, content);
      return;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
      xmlNodeSetContent(node, content);
      return;
    default:
      throw Error(kErrInvalidArgument,
                  "Der Text des Knotens '" + xml::LocalName(node) + "' kann nicht gesetzt werden");
  }
}

}  // namespace quenda
