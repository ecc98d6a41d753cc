// Creating elements and attributes by qualified name ("FD:Field") for DOMWrapper.
// A prefix takes the namespace it has in scope where the element is appended; an
// unprefixed element name takes the default namespace in scope. The prefix "FD" where the
// document does not declare it is bound to the FlowData namespace and declared on the
// root element (on the element itself when it is the new root), so that a saved job file
// never carries an unbound prefix. Any other undeclared prefix is an error.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

namespace quenda::xml {

struct NodeDeleter {
  void operator()(xmlNode* node) const { xmlFreeNode(node); }
};
// An element not yet attached to a tree.
using LooseNode = std::unique_ptr<xmlNode, NodeDeleter>;

class ElementFactory {
 public:
  // Elements for `doc`, to be appended below `scope` (null for a new root element).
  // `flowDataUri` is CP1252.
  ElementFactory(xmlDoc* doc, xmlNode* scope, const std::string& flowDataUri);

  // A new element `qname` (CP1252). Throws Error 5 for a name that is no XML name or
  // whose prefix is not declared (other than "FD").
  LooseNode NewElement(const std::string& qname) const;
  // Sets attribute `qname` of `element` to `value` (both CP1252): replaced in place when it
  // exists, appended after the others when not. Throws Error 5 as NewElement, or for a
  // value with a character that XML cannot hold.
  void SetAttribute(xmlNode* element, const std::string& qname, const std::string& value) const;

 private:
  xmlNs* Namespace(xmlNode* element, const std::string& prefix, const std::string& qname) const;

  xmlDoc* doc_;
  xmlNode* scope_;
  std::string flowDataUri_;  // UTF-8
};

// `text` (CP1252) as UTF-8 for the document. Throws Error 5 naming the text when it holds
// a control character that XML 1.0 cannot hold (all below 20 hex but TAB, LF and CR).
std::string XmlText(const std::string& text);

}  // namespace quenda::xml
