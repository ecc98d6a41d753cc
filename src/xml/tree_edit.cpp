#include "xml/tree_edit.h"

#include "base/error.h"
#include "text/cp1252.h"
#include "xml/xml_node.h"

namespace quenda::xml {
namespace {

std::string Label(const xmlNode* node) {
  switch (node->type) {
    case XML_ELEMENT_NODE:
      return QualifiedName(node);
    case XML_ATTRIBUTE_NODE:
      return "@" + QualifiedName(node);
    case XML_TEXT_NODE:
      return "#text";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    case XML_COMMENT_NODE:
      return "#comment";
    case XML_PI_NODE:
      return "#processing-instruction";
    case XML_DOCUMENT_NODE:
      return "#document";
    default:
      return "#" + std::to_string(static_cast<int>(node->type));
  }
}

bool IsAppendable(const xmlNode* node) {
  switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      return true;
    default:
      return false;
  }
}

void Refuse(const std::string& text) { throw Error(kErrInvalidArgument, text); }

void Redirect(xmlNode* node, const xmlNs* from, xmlNs* to) {
  if (node->type != XML_ELEMENT_NODE) return;
  if (node->ns == from) node->ns = to;
  for (xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
    if (attr->ns == from) attr->ns = to;
  }
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    Redirect(child, from, to);
  }
}

// A copy from elsewhere declares the namespaces it uses on its top element; where the new
// parent's scope binds the same prefix to the same URI the declaration is dropped, so the
// saved file does not repeat it.
void DropRedundantDeclarations(xmlNode* top) {
  if (top->type != XML_ELEMENT_NODE || top->parent == nullptr) return;
  xmlNs** link = &top->nsDef;
  while (*link != nullptr) {
    xmlNs* ns = *link;
    xmlNs* outer = xmlSearchNs(top->doc, top->parent, ns->prefix);
    if (outer != nullptr && xmlStrEqual(outer->href, ns->href)) {
      Redirect(top, ns, outer);
      *link = ns->next;
      ns->next = nullptr;
      xmlFreeNs(ns);
    } else {
      link = &ns->next;
    }
  }
}

}  // namespace

void CheckAppend(const xmlNode* parent, const xmlNode* child) {
  Required(parent);
  Required(child);
  if (!IsAppendable(child)) {
    Refuse("Ein Knoten '" + Label(child) + "' kann nicht angehängt werden"_cp);
  }
  if (IsInside(parent, child)) {
    Refuse("Der Knoten '" + Label(child) + "' kann nicht unter sich selbst angehängt werden"_cp);
  }
  if (parent->type == XML_DOCUMENT_NODE) {
    const auto* doc = reinterpret_cast<const xmlDoc*>(parent);
    if (child->type == XML_ELEMENT_NODE && xmlDocGetRootElement(doc) != nullptr) {
      Refuse("Das Dokument hat schon ein Wurzelelement; '" + Label(child) +
             "' kann nicht angehängt werden"_cp);
    }
    if (child->type != XML_ELEMENT_NODE && child->type != XML_COMMENT_NODE &&
        child->type != XML_PI_NODE) {
      Refuse("Ein Knoten '" + Label(child) + "' kann nicht ins Dokument gehängt werden"_cp);
    }
  } else if (parent->type != XML_ELEMENT_NODE) {
    Refuse("An den Knoten '" + Label(parent) + "' können keine Knoten angehängt werden"_cp);
  }
}

xmlNode* Attach(xmlNode* parent, LooseNode child) {
  CheckAppend(parent, child.get());
  xmlNode* added = child.release();
  LinkLast(parent, added);
  DropRedundantDeclarations(added);
  return added;
}

void LinkLast(xmlNode* parent, xmlNode* child) {
  child->parent = parent;
  child->next = nullptr;
  child->prev = parent->last;
  if (parent->last != nullptr) {
    parent->last->next = child;
  } else {
    parent->children = child;
  }
  parent->last = child;
}

LooseNode CopyForAppend(const xmlNode* node, xmlDoc* doc) {
  Required(node);
  if (!IsAppendable(node)) {
    Refuse("Ein Knoten '" + Label(node) + "' kann nicht angehängt werden"_cp);
  }
  LooseNode copy(xmlDocCopyNode(const_cast<xmlNode*>(node), doc, 1));
  if (!copy) Refuse("Der Knoten '" + Label(node) + "' konnte nicht kopiert werden");
  return copy;
}

}  // namespace quenda::xml
