// Safe parsing of XML text into a libxml2 document for DOMWrapper. Synchronous, no network,
// no DTD loading, libxml2's default size and depth limits kept. Entity declarations and
// references to entities other than the five predefined ones are refused, so nothing is
// ever read from outside the text and no entity is expanded. Whitespace-only text nodes
// beside other nodes are dropped (the text of an element that holds only blanks stays).
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

namespace quenda::xml {

struct DocDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

// Parses `bytes` (encoding from the XML declaration or BOM, else UTF-8; always UTF-8 when
// `utf8Text`, for XML held as a text in memory). Throws Error 5 whose description is the
// reason: "Zeile <l>, Spalte <c>: " + the parser's message (CP1252), for the first error,
// namespace errors included.
DocPtr ParseXml(const std::string& bytes, bool utf8Text = false);

// Removes whitespace-only text nodes that have a sibling, in the whole subtree of `node`.
void DropBlankTextNodes(xmlNode* node);

}  // namespace quenda::xml
