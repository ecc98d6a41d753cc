// An index of the FlowData fields of one document by their "Name" attribute. It answers
// the document queries that rules use to read a field, with the node XPath would give,
// without walking the document once per query:
//   //P:Field[@Name='X']
//   //P:Envelope[@Name='E']//P:Field[@Name='X']
//   //P:Envelope[@Name='E']/P:Fields/P:Field[@Name='X']
// written exactly so (no blanks; '...' or "..." literals; one prefix P throughout, bound
// in the selection namespaces). Every other query is left to XPath.
#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/xpath_query.h"

namespace quenda::xml {

class FieldIndex {
 public:
  // For a query of the forms above: the first node in document order that it selects in
  // `doc` with the `bindings`, or nullptr when none. nullopt for any other query. The
  // index of `doc` is built on first use and kept until Reset: the owner must call Reset
  // whenever the document, its tree or the bindings change.
  std::optional<xmlNode*> Find(xmlDoc* doc, const std::string& query,
                               const NamespaceBindings& bindings);
  void Reset();

 private:
  void Build(xmlDoc* doc, const std::string& uri);
  // The value of the attribute "Name" without namespace, as "@Name" selects it; nullopt
  // when the element has none. Points into the document where it can, else into names_.
  std::optional<std::string_view> NameOf(const xmlNode* element);

  const xmlDoc* doc_ = nullptr;  // the document indexed, null when nothing is
  std::string uri_;              // the namespace of the elements indexed
  // The fields with a name in document order; for each the next one of the same name.
  std::vector<xmlNode*> fields_;
  std::vector<std::uint32_t> nextSameName_;
  struct Chain {
    std::uint32_t first, last;
  };
  std::unordered_map<std::string_view, Chain> byName_;
  std::deque<std::string> names_;  // names that are not held as one text in the document
};

}  // namespace quenda::xml
