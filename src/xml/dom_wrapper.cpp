// DOMWrapper: construction, the document operations, the document-order walk and the
// helpers that the other operation files share.
#include "xml/dom_wrapper.h"

#include <libxml/xmlsave.h>

#include <new>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "text/tokens.h"
#include "ui/ui.h"
#include "xml/document_store.h"
#include "xml/element_factory.h"
#include "xml/field_index.h"
#include "xml/xml_node.h"
#include "xml/xml_parser.h"
#include "xml/xpath_query.h"

namespace quenda {
namespace {

// An element, or nullptr for nullptr; any other node is error 13, as converting a
// non-element node to an element reference fails.
XmlNode* AsElement(XmlNode* node) {
  if (node != nullptr && node->type != XML_ELEMENT_NODE) throw xml::TypeMismatch();
  return node;
}

struct BufferDeleter {
  void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

// The indented save puts line breaks and blanks between child elements, which an element
// under xml:space="preserve" keeps as content when the file is read again. libxml2 leaves
// an element and everything in it unindented when one of its children is text, so for
// the save each such element gets an empty text node as its first child (it writes as
// nothing); the destructor takes them out again.
class UnindentedPreserves {
 public:
  explicit UnindentedPreserves(xmlDoc* doc) { Mark(xmlDocGetRootElement(doc)); }
  ~UnindentedPreserves() {
    for (xmlNode* text : marks_) {
      xmlUnlinkNode(text);
      xmlFreeNode(text);
    }
  }
  UnindentedPreserves(const UnindentedPreserves&) = delete;
  UnindentedPreserves& operator=(const UnindentedPreserves&) = delete;

 private:
  void Mark(xmlNode* element) {
    for (xmlNode* node = element; node != nullptr; node = node->next) {
      if (node->type != XML_ELEMENT_NODE) continue;
      if (!IsPreserved(node)) {
        Mark(node->children);
      } else if (node->children != nullptr && !HasText(node)) {
        xmlNode* text = xmlNewDocText(node->doc, BAD_CAST "");
        if (text == nullptr) throw std::bad_alloc();
        xmlAddPrevSibling(node->children, text);  // before an element: not merged
        marks_.push_back(text);
      }
    }
  }
  // True when a child of `element` is text already, so the save leaves it unindented.
  static bool HasText(xmlNode* element) {
    for (xmlNode* child = element->children; child != nullptr; child = child->next) {
      if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE ||
          child->type == XML_ENTITY_REF_NODE) {
        return true;
      }
    }
    return false;
  }
  static bool IsPreserved(xmlNode* element) {
    xmlChar* space = xmlGetNsProp(element, BAD_CAST "space", XML_XML_NAMESPACE);
    const bool preserve = space != nullptr && xmlStrEqual(space, BAD_CAST "preserve");
    xmlFree(space);
    return preserve;
  }

  std::vector<xmlNode*> marks_;
};

std::string Serialize(xmlDoc* doc) {
  const UnindentedPreserves unindented(doc);
  const char* encoding =
      doc->encoding != nullptr ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8";
  std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
  xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer.get(), encoding, XML_SAVE_FORMAT);
  if (save == nullptr) {
    throw Error(kErrInvalidArgument, "Unbekannte Kodierung '" + std::string(encoding) + "'");
  }
  const long written = xmlSaveDoc(save, doc);
  if (xmlSaveClose(save) < 0 || written < 0) {
    throw Error(kErrInvalidArgument, "Das Dokument konnte nicht geschrieben werden");
  }
  return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                     static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

}  // namespace

std::string FlowNamespaceDeclaration(const std::string& flowDataNamespaceUri) {
  return "xmlns:FD='" + flowDataNamespaceUri + "'";
}

DOMWrapper::DOMWrapper(Ui& ui, const Files& files, std::string flowDataNamespaceUri)
    : ui_(ui),
      files_(files),
      flowDataUri_(std::move(flowDataNamespaceUri)),
      store_(std::make_unique<xml::DocumentStore>()),
      fieldIndex_(std::make_unique<xml::FieldIndex>()) {}

DOMWrapper::~DOMWrapper() = default;

void DOMWrapper::Load(const std::string& sPath_File, const std::string& sNameSpace) {
  Edited();
  // A new, empty document replaces the previous one first, so a failed load leaves it.
  store_->Replace(xml::DocPtr(xmlNewDoc(BAD_CAST "1.0")));
  try {
    store_->Replace(xml::ParseXml(files_.ReadAll(sPath_File)));
    if (!IsBlank(sNameSpace)) {
      store_->NamespacesFor(nullptr) = xml::ParseSelectionNamespaces(sNameSpace);
    }
    Collect();
  } catch (const Error& e) {
    throw FileFailure(Failure("Load", sPath_File + "\r\nParse-Error : \r\n" + e.Description()),
                      e.Description());
  }
}

void DOMWrapper::Save(const std::string& sPath_File) {
  try {
    files_.WriteAll(sPath_File, Serialize(Document()));
  } catch (const Error& e) {
    throw FileFailure(Failure("Save", sPath_File + "\r\n" + e.Description()), e.Description());
  }
}

void DOMWrapper::NewDoc(const std::string& elementname) {
  Edited();
  store_->Replace(xml::DocPtr(xmlNewDoc(BAD_CAST "1.0")));
  xml::ElementFactory factory(Document(), nullptr, flowDataUri_);
  xml::LooseNode root = factory.NewElement(elementname);
  workNode_ = root.get();
  xmlDocSetRootElement(Document(), root.release());
  Collect();
}

std::string DOMWrapper::GetXML() const {
  const XmlNode* node = xml::Required(currentNode_);
  std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
  xmlNodeDump(buffer.get(), node->doc, const_cast<XmlNode*>(node), 0, 0);
  return xml::FromXml(xmlBufferContent(buffer.get()));
}

void DOMWrapper::Flow_Property() {
  Edited();
  store_->NamespacesFor(nullptr) =
      xml::ParseSelectionNamespaces(FlowNamespaceDeclaration(flowDataUri_));
}

bool DOMWrapper::IsFirstNode() const {
  const XmlNode* parent = xml::Required(xml::Required(currentNode_)->parent);
  return parent->type == XML_DOCUMENT_NODE;
}

// Two traps, as the walk has always worked: a failure while stepping to the first child
// (the first child is a text node, or there is no current node) goes on with the next
// sibling; there a second failure goes to the caller. A failure on the sibling or upward
// path, when reached without an earlier failure, is shown here and ends the walk.
XmlNode* DOMWrapper::NextNode() {
  bool trapped = false;
  try {
    XmlNode* current = xml::Required(currentNode_);
    if (current->children != nullptr) {
      currentNode_ = current->children;
      return AsElement(currentNode_);
    }
  } catch (const Error&) {
    trapped = true;
  }
  try {
    return SiblingOrUp();
  } catch (const Error& e) {
    if (trapped) throw;
    ShowNumbered(e);
    return nullptr;
  }
}

XmlNode* DOMWrapper::SiblingOrUp() {
  XmlNode* current = xml::Required(currentNode_);
  if (current->next != nullptr) {
    currentNode_ = current->next;
    return AsElement(currentNode_);
  }
  while (xml::Required(currentNode_->parent)->next == nullptr && !IsFirstNode()) {
    currentNode_ = currentNode_->parent;
  }
  // At the root element the document's sibling is taken: none, the walk is over.
  currentNode_ = currentNode_->parent->next;
  return AsElement(currentNode_);
}

_xmlDoc* DOMWrapper::Document() const {
  xmlDoc* doc = store_->Current();
  if (doc == nullptr) throw xml::ObjectNotSet();
  return doc;
}

XmlNode* DOMWrapper::DocumentQuery(const std::string& path) {
  xmlDoc* doc = Document();
  auto* docNode = reinterpret_cast<XmlNode*>(doc);
  const auto nodes = xml::SelectNodes(doc, docNode, path, store_->NamespacesFor(nullptr));
  return nodes.empty() ? nullptr : nodes.front();
}

XmlNode* DOMWrapper::CurrentQuery(const std::string& path) {
  XmlNode* current = xml::Required(currentNode_);
  const auto nodes = xml::SelectNodes(current->doc, current, path, store_->NamespacesFor(current));
  return nodes.empty() ? nullptr : nodes.front();
}

Error DOMWrapper::Failure(const std::string& operation, const std::string& arguments) {
  return Error(kErrComposed,
               "Error in Function 'DOMWrapper." + operation + "' \r\nArgument(s) : " + arguments);
}

void DOMWrapper::Collect() { store_->Collect({currentNode_, workNode_}); }

void DOMWrapper::Edited() { fieldIndex_->Reset(); }

XmlNode* DOMWrapper::FirstField(const std::string& path) {
  xmlDoc* doc = Document();
  const std::optional<XmlNode*> indexed =
      fieldIndex_->Find(doc, path, store_->NamespacesFor(nullptr));
  return indexed ? *indexed : DocumentQuery(path);
}

void DOMWrapper::ShowNumbered(const Error& error) {
  ui_.MsgBox(std::to_string(error.Number()) + ": " + error.Description(), 0, {});
}

void DOMWrapper::ShowPlain(const Error& error) { ui_.MsgBox(error.Description(), 0, {}); }

}  // namespace quenda
