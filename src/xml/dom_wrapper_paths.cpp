// DOMWrapper: the operations that address nodes by document paths or tag names.
#include <vector>

#include "text/tokens.h"
#include "xml/document_store.h"
#include "xml/dom_wrapper.h"
#include "xml/element_factory.h"
#include "xml/tree_edit.h"
#include "xml/xml_node.h"
#include "xml/xml_parser.h"
#include "xml/xpath_query.h"

namespace quenda {
namespace {

const std::string kCrLf = "\r\n";

// The text cut at ";" as the platform's Split does: an empty text gives no parts.
std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(';', start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// The document's elements named `name` as written ("*" for all), in document order.
std::vector<XmlNode*> ElementsByTagName(xmlDoc* doc, const std::string& name) {
  std::vector<XmlNode*> found;
  std::vector<XmlNode*> pending{xmlDocGetRootElement(doc)};
  while (!pending.empty()) {
    XmlNode* node = pending.back();
    pending.pop_back();
    if (node == nullptr || node->type != XML_ELEMENT_NODE) continue;
    if (name == "*" || xml::QualifiedName(node) == name) found.push_back(node);
    for (XmlNode* child = node->last; child != nullptr; child = child->prev) {
      pending.push_back(child);
    }
  }
  return found;
}

std::int16_t AsInt16(std::size_t count) {
  if (count > 32767) throw PlatformError(kErrOverflow);
  return static_cast<std::int16_t>(count);
}

}  // namespace

void DOMWrapper::CloneNodes(const std::string& sPathSourceNode,
                            const std::string& sPathTargetNode) {
  Edited();
  try {
    const XmlNode* source = xml::Required(DocumentQuery(sPathSourceNode));
    XmlNode* target = xml::Required(DocumentQuery(sPathTargetNode));
    xml::Attach(target, xml::CopyForAppend(source, target->doc));
  } catch (const Error&) {
    throw Failure("CloneNodes", kCrLf + sPathSourceNode + kCrLf + sPathTargetNode);
  }
}

void DOMWrapper::RemoveNode(const std::string& sPathParentNode, const std::string& sPathChildNode) {
  Edited();
  try {
    XmlNode* parent = xml::Required(DocumentQuery(sPathParentNode));
    XmlNode* child = xml::Required(DocumentQuery(sPathChildNode));
    if (child->parent != parent || child->type == XML_ATTRIBUTE_NODE) {
      throw Error(kErrInvalidArgument, "Der Knoten '" + sPathChildNode + "' ist kein Kind von '" +
                                           sPathParentNode + "'");
    }
    store_->Discard(child, {currentNode_, workNode_});
  } catch (const Error&) {
    throw Failure("RemoveNode", kCrLf + sPathParentNode + kCrLf + sPathChildNode);
  }
}

void DOMWrapper::RemoveNodes(const std::string& sPathParentNode, const std::string& sPathChildren) {
  Edited();
  try {
    XmlNode* parent = xml::Required(DocumentQuery(sPathParentNode));
    auto& bindings = store_->NamespacesFor(parent);
    while (true) {
      const auto nodes = xml::SelectNodes(parent->doc, parent, sPathChildren, bindings);
      if (nodes.empty()) return;
      XmlNode* child = nodes.front();
      // A node without parent (the parent itself once removed, or an attribute) cannot
      // be removed from it.
      if (child->parent == nullptr || child->type == XML_ATTRIBUTE_NODE) {
        throw xml::ObjectNotSet();
      }
      store_->Discard(child, {currentNode_, workNode_, parent});
    }
  } catch (const Error&) {
    throw Failure("RemoveNodes", kCrLf + sPathParentNode + kCrLf + sPathChildren);
  }
}

void DOMWrapper::SetAttributes(const std::string& sPath, std::int32_t nIndex,
                               const std::string& sValue) {
  Edited();
  try {
    xmlDoc* doc = Document();
    auto* docNode = reinterpret_cast<XmlNode*>(doc);
    for (XmlNode* node : xml::SelectNodes(doc, docNode, sPath, store_->NamespacesFor(nullptr))) {
      xmlAttr* attr = xml::Required(xml::AttributeAt(node, nIndex));
      SetText(reinterpret_cast<XmlNode*>(attr), sValue);
    }
  } catch (const Error&) {
    throw Failure("SetAttributes", kCrLf + sPath + kCrLf + std::to_string(nIndex) + kCrLf + sValue);
  }
}

void DOMWrapper::AppendNode(const std::string& sPath, const std::string& sNodename,
                            const std::string& sValue, const std::string& sAttributNamen,
                            const std::string& sAttributWerte, bool bSameLevel) {
  Edited();
  try {
    XmlNode* found = xml::Required(DocumentQuery(sPath));
    XmlNode* target = bSameLevel ? xml::Required(found->parent) : found;
    const xml::ElementFactory factory(target->doc, target, flowDataUri_);
    xml::LooseNode element = factory.NewElement(sNodename);
    SetText(element.get(), sValue);
    if (!IsBlank(sAttributNamen)) {
      const auto names = SplitList(sAttributNamen);
      const auto values = SplitList(sAttributWerte);
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (i >= values.size()) throw PlatformError(kErrSubscript);
        factory.SetAttribute(element.get(), names[i], values[i]);
      }
    }
    xml::Attach(target, std::move(element));
  } catch (const Error&) {
    throw Failure("AppendNode", kCrLf + sPath + kCrLf + sNodename + kCrLf + sValue + kCrLf +
                                    sAttributNamen + kCrLf + sAttributWerte + kCrLf +
                                    (bSameLevel ? "Wahr" : "Falsch"));
  }
}

void DOMWrapper::AppendChildNodefromText(const std::string& sPath, const std::string& sNodeText,
                                         const std::string& sNameSpace) {
  Edited();
  try {
    XmlNode* target = xml::Required(DocumentQuery(sPath));
    const xml::DocPtr temp = xml::ParseXml(xml::ToXml(sNodeText), true);
    if (!IsBlank(sNameSpace)) xml::ParseSelectionNamespaces(sNameSpace);
    xml::Attach(target, xml::CopyForAppend(temp->children, target->doc));
  } catch (const Error&) {
    throw Failure("AppendChildNodefromText", kCrLf + sPath + kCrLf + sNodeText);
  }
}

void DOMWrapper::AppendChildNodefromNode(const std::string& sPath, XmlNode* ChildNode) {
  Edited();
  try {
    XmlNode* target = xml::Required(DocumentQuery(sPath));
    xml::Required(ChildNode);
    if (ChildNode->doc != target->doc) {
      xml::Attach(target, xml::CopyForAppend(ChildNode, target->doc));
      return;
    }
    xml::CheckAppend(target, ChildNode);
    xmlUnlinkNode(ChildNode);
    store_->Reattach(ChildNode);
    xml::LinkLast(target, ChildNode);
  } catch (const Error&) {
    std::string content;
    if (ChildNode != nullptr) content = xml::NodeText(ChildNode);
    throw Failure("AppendChildNodefromNode", kCrLf + sPath + kCrLf + content);
  }
}

std::string DOMWrapper::GetElementValue(const std::string& sElement, bool bOptional) {
  try {
    currentNode_ = FirstField(sElement);
    return xml::NodeText(currentNode_);
  } catch (const Error& e) {
    if (e.Number() == kErrObjectNotSet && bOptional) return {};
    throw Failure("GetElementValue", sElement);
  }
}

void DOMWrapper::SetElementValue(const std::string& sElement, const std::string& sValue) {
  Edited();
  try {
    workNode_ = DocumentQuery(sElement);
    SetText(xml::Required(workNode_), sValue);
  } catch (const Error&) {
    throw Failure("SetElementValue", sElement);
  }
}

std::int16_t DOMWrapper::CountElementsByTagName(const std::string& element) {
  try {
    return AsInt16(ElementsByTagName(Document(), element).size());
  } catch (const Error& e) {
    ShowPlain(e);
    return 0;
  }
}

std::string DOMWrapper::GetElementByTagName(const std::string& element, std::int16_t itemnum) {
  try {
    const auto nodes = ElementsByTagName(Document(), element);
    if (itemnum < 0 || static_cast<std::size_t>(itemnum) >= nodes.size()) {
      throw xml::ObjectNotSet();
    }
    return xml::NodeText(nodes[static_cast<std::size_t>(itemnum)]);
  } catch (const Error& e) {
    ShowPlain(e);
    return {};
  }
}

}  // namespace quenda
