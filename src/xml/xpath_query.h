// XPath 1.0 queries for DOMWrapper: the selection-namespaces declaration of a document
// ("xmlns:FD='uri'", several separated by blanks) and node selection through libxml2.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <utility>
#include <vector>

namespace quenda::xml {

// Prefix and namespace URI pairs, UTF-8, in declaration order.
using NamespaceBindings = std::vector<std::pair<std::string, std::string>>;

// Reads a declaration text such as "xmlns:FD='http://x' xmlns:a=\"urn:a\"" (CP1252).
// A default declaration "xmlns='uri'" is accepted and binds nothing (XPath 1.0 has no
// default namespace). Throws Error 5 naming the text when it is not of that form.
NamespaceBindings ParseSelectionNamespaces(const std::string& declarations);

// The nodes that `expression` (CP1252) selects from `context` (an element, an attribute or
// the document node of `doc`), in document order, with the `bindings` prefixes. Throws
// Error 5 naming the expression and libxml2's reason when it cannot be evaluated or does
// not select nodes. The nodes belong to the document.
std::vector<xmlNode*> SelectNodes(xmlDoc* doc, xmlNode* context, const std::string& expression,
                                  const NamespaceBindings& bindings);

}  // namespace quenda::xml
