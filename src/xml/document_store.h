// The documents and loose nodes of one DOMWrapper. A DOM node stays usable while someone
// points at it, even after Load replaced its document or an edit removed it; libxml2
// frees eagerly, so the store keeps such documents and subtrees until no node of the
// wrapper points into them any more.
#pragma once

#include <libxml/tree.h>

#include <initializer_list>
#include <vector>

#include "xml/xml_parser.h"
#include "xml/xpath_query.h"

namespace quenda::xml {

class DocumentStore {
 public:
  DocumentStore() = default;
  ~DocumentStore();
  DocumentStore(const DocumentStore&) = delete;
  DocumentStore& operator=(const DocumentStore&) = delete;

  // The current document, or null before the first Load or NewDoc.
  xmlDoc* Current() const { return docs_.empty() ? nullptr : docs_.back().doc.get(); }

  // Makes `doc` the current document; the previous one is kept until Collect finds it
  // unreferenced. Its selection namespaces start empty.
  void Replace(DocPtr doc);

  // The selection namespaces of the document that holds `node` (of the current document
  // when `node` is null). Throws 91 when there is no such document.
  NamespaceBindings& NamespacesFor(const xmlNode* node);

  // Unlinks `node` from its tree. It is freed at once unless one of `keep` lies inside
  // it; then it waits for Collect.
  void Discard(xmlNode* node, std::initializer_list<const xmlNode*> keep);

  // `node` is being attached to a tree again: it is no longer a removed subtree.
  void Reattach(xmlNode* node);

  // Frees the replaced documents and removed subtrees that none of `keep` points into.
  void Collect(std::initializer_list<const xmlNode*> keep);

 private:
  struct Entry {
    DocPtr doc;
    NamespaceBindings namespaces;
  };
  static bool Holds(const xmlNode* root, std::initializer_list<const xmlNode*> keep);
  bool HoldsDoc(const xmlDoc* doc, std::initializer_list<const xmlNode*> keep) const;

  std::vector<Entry> docs_;         // the current document last
  std::vector<xmlNode*> detached_;  // removed subtrees still pointed into
};

}  // namespace quenda::xml
