// Appending nodes to a libxml2 tree for DOMWrapper, with the checks that a DOM makes and
// libxml2 leaves to its caller: only elements take children, a document takes one root
// element, attributes and documents are never appended, a node never goes below itself.
#pragma once

#include <libxml/tree.h>

#include "xml/element_factory.h"

namespace quenda::xml {

// Throws Error 5 naming the problem when `child` may not become the last child of `parent`.
void CheckAppend(const xmlNode* parent, const xmlNode* child);

// Checks, then appends `child` as the last child of `parent`; the tree owns it afterwards.
// Namespace declarations that the parent's scope already makes are removed from it.
// Returns the appended node.
xmlNode* Attach(xmlNode* parent, LooseNode child);

// Links the unattached `child` (of the parent's document) as the last child of `parent`
// without further checks. Unlike xmlAddChild it never merges text nodes, so `child` stays
// valid.
void LinkLast(xmlNode* parent, xmlNode* child);

// A deep copy of `node` for `doc`, not yet attached. Throws Error 5 (via CheckAppend's
// rules) for node kinds that cannot be appended.
LooseNode CopyForAppend(const xmlNode* node, xmlDoc* doc);

}  // namespace quenda::xml
