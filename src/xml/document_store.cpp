#include "xml/document_store.h"

#include <algorithm>

#include "xml/xml_node.h"

namespace quenda::xml {

DocumentStore::~DocumentStore() {
  // Loose nodes use their document's name dictionary: free them first.
  for (xmlNode* node : detached_) xmlFreeNode(node);
  detached_.clear();
  docs_.clear();
}

void DocumentStore::Replace(DocPtr doc) { docs_.push_back(Entry{std::move(doc), {}}); }

NamespaceBindings& DocumentStore::NamespacesFor(const xmlNode* node) {
  const xmlDoc* doc = node != nullptr ? node->doc : Current();
  for (Entry& entry : docs_) {
    if (entry.doc.get() == doc && doc != nullptr) return entry.namespaces;
  }
  throw ObjectNotSet();
}

void DocumentStore::Discard(xmlNode* node, std::initializer_list<const xmlNode*> keep) {
  xmlUnlinkNode(node);
  if (Holds(node, keep)) {
    detached_.push_back(node);
  } else {
    xmlFreeNode(node);
  }
}

void DocumentStore::Reattach(xmlNode* node) { std::erase(detached_, node); }

void DocumentStore::Collect(std::initializer_list<const xmlNode*> keep) {
  auto unused = std::stable_partition(detached_.begin(), detached_.end(),
                                      [&](xmlNode* node) { return Holds(node, keep); });
  for (auto it = unused; it != detached_.end(); ++it) xmlFreeNode(*it);
  detached_.erase(unused, detached_.end());
  if (docs_.size() < 2) return;
  const xmlDoc* current = Current();
  std::erase_if(docs_, [&](const Entry& entry) {
    return entry.doc.get() != current && !HoldsDoc(entry.doc.get(), keep);
  });
}

bool DocumentStore::Holds(const xmlNode* root, std::initializer_list<const xmlNode*> keep) {
  return std::any_of(keep.begin(), keep.end(),
                     [&](const xmlNode* node) { return IsInside(node, root); });
}

bool DocumentStore::HoldsDoc(const xmlDoc* doc, std::initializer_list<const xmlNode*> keep) const {
  const bool pointed = std::any_of(keep.begin(), keep.end(), [&](const xmlNode* node) {
    return node != nullptr && node->doc == doc;
  });
  const bool loose = std::any_of(detached_.begin(), detached_.end(),
                                 [&](const xmlNode* node) { return node->doc == doc; });
  return pointed || loose;
}

}  // namespace quenda::xml
