// Safe parsing of XML text into a libxml2 document for DOMWrapper. Synchronous, no network,
// no DTD loading, libxml2's default size and depth limits kept. Entity declarations and
// references to entities other than the five predefined ones are refused, so nothing is
// ever read from outside the text and no entity is expanded. Whitespace-only text nodes
// are not part of the document (unless xml:space="preserve" holds): an element that holds
// only blanks has no children.
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
// reason for the first error, namespace errors included: "Zeile <l>, Spalte <c>: " + what
// failed in German ("Das Dokument ist nicht wohlgeformt", "Ungültige Kodierung", "Das
// Dokument ist zu tief geschachtelt", "Das Dokument ist leer", ...)
// + " (" + the parser's message + ")", CP1252; a refused entity declaration or reference
// and a UTF-32 text (by its mark) give a German reason alone. Bytes with the UTF-8 mark
// are UTF-8 whatever their declaration says, and the document's encoding says so too.
DocPtr ParseXml(const std::string& bytes, bool utf8Text = false);

// Removes the whitespace-only text nodes below `node`, except under xml:space="preserve".
void DropBlankTextNodes(xmlNode* node);

}  // namespace quenda::xml
