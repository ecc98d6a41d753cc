#include "xml/field_index.h"

#include <cctype>
#include <cstring>
#include <utility>

#include "xml/xml_node.h"

namespace quenda::xml {
namespace {

enum class Form { kAnywhere, kBelowEnvelope, kInEnvelopeFields };

struct FieldQuery {
  Form form;
  std::string prefix;
  std::string envelope;  // UTF-8
  std::string field;     // UTF-8
};

constexpr std::uint32_t kNone = UINT32_MAX;

// Reads `expected` at the front of `rest`.
bool Skip(std::string_view& rest, std::string_view expected) {
  if (rest.substr(0, expected.size()) != expected) return false;
  rest.remove_prefix(expected.size());
  return true;
}

// An ASCII prefix name; any other leaves the query to XPath.
bool IsPrefix(std::string_view p) {
  if (p.empty() || (std::isalpha(static_cast<unsigned char>(p[0])) == 0 && p[0] != '_')) {
    return false;
  }
  for (char c : p) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_' && c != '-' && c != '.') {
      return false;
    }
  }
  return true;
}

// Reads "P:" + local, then "[@Name=" literal "]" when `value` is given; P must equal
// `prefix` once that is set.
bool Step(std::string_view& rest, std::string& prefix, std::string_view local, std::string* value) {
  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos || !IsPrefix(rest.substr(0, colon))) return false;
  if (!prefix.empty() && rest.substr(0, colon) != prefix) return false;
  prefix = std::string(rest.substr(0, colon));
  rest.remove_prefix(colon + 1);
  if (!Skip(rest, local)) return false;
  if (value == nullptr) return true;
  if (!Skip(rest, "[@Name=") || rest.empty() || (rest[0] != '\'' && rest[0] != '"')) return false;
  const std::size_t close = rest.find(rest[0], 1);
  if (close == std::string_view::npos) return false;
  *value = ToXml(rest.substr(1, close - 1));
  rest.remove_prefix(close + 1);
  return Skip(rest, "]");
}

std::optional<FieldQuery> ParseQuery(std::string_view rest) {
  FieldQuery q{Form::kAnywhere, {}, {}, {}};
  if (!Skip(rest, "//")) return std::nullopt;
  std::string_view afterEnvelope = rest;
  std::string prefix;
  if (Step(afterEnvelope, prefix, "Envelope", &q.envelope)) {
    rest = afterEnvelope;
    q.prefix = prefix;
    if (Skip(rest, "//")) {
      q.form = Form::kBelowEnvelope;
    } else if (Skip(rest, "/") && Step(rest, q.prefix, "Fields", nullptr) && Skip(rest, "/")) {
      q.form = Form::kInEnvelopeFields;
    } else {
      return std::nullopt;
    }
  }
  if (!Step(rest, q.prefix, "Field", &q.field) || !rest.empty()) return std::nullopt;
  return q;
}

// The namespace XPath gives the prefix: the last binding wins; "xml" is its own.
std::optional<std::string> Resolve(const NamespaceBindings& bindings, const std::string& prefix) {
  if (prefix == "xml") return std::nullopt;
  for (auto it = bindings.rbegin(); it != bindings.rend(); ++it) {
    if (it->first == prefix) return it->second;
  }
  return std::nullopt;
}

bool Is(const xmlNode* node, const char* local, const std::string& uri) {
  return node != nullptr && node->type == XML_ELEMENT_NODE && node->ns != nullptr &&
         node->ns->href != nullptr &&
         std::strcmp(reinterpret_cast<const char*>(node->name), local) == 0 &&
         uri == reinterpret_cast<const char*>(node->ns->href);
}

}  // namespace

std::optional<xmlNode*> FieldIndex::Find(xmlDoc* doc, const std::string& query,
                                         const NamespaceBindings& bindings) {
  const std::optional<FieldQuery> q = ParseQuery(query);
  if (!q) return std::nullopt;
  const std::optional<std::string> uri = Resolve(bindings, q->prefix);
  if (!uri) return std::nullopt;
  if (doc != doc_ || *uri != uri_) Build(doc, *uri);
  const auto found = byName_.find(q->field);
  if (found == byName_.end()) return nullptr;
  for (std::uint32_t i = found->second.first; i != kNone; i = nextSameName_[i]) {
    xmlNode* field = fields_[i];
    if (q->form == Form::kAnywhere) return field;
    if (q->form == Form::kInEnvelopeFields) {
      const xmlNode* fields = field->parent;
      if (Is(fields, "Fields", uri_) && Is(fields->parent, "Envelope", uri_) &&
          NameOf(fields->parent) == q->envelope) {
        return field;
      }
      continue;
    }
    for (const xmlNode* up = field->parent; up != nullptr; up = up->parent) {
      if (Is(up, "Envelope", uri_) && NameOf(up) == q->envelope) return field;
    }
  }
  return nullptr;
}

void FieldIndex::Reset() {
  doc_ = nullptr;
  uri_.clear();
  fields_.clear();
  nextSameName_.clear();
  byName_.clear();
  names_.clear();
}

std::optional<std::string_view> FieldIndex::NameOf(const xmlNode* element) {
  for (const xmlAttr* a = element->properties; a != nullptr; a = a->next) {
    if (std::strcmp(reinterpret_cast<const char*>(a->name), "Name") != 0) continue;
    if (a->ns != nullptr && a->ns->prefix != nullptr) continue;
    const xmlNode* text = a->children;
    if (text == nullptr) return std::string_view();
    if (text->next == nullptr && text->type == XML_TEXT_NODE && text->content != nullptr) {
      return std::string_view(reinterpret_cast<const char*>(text->content));
    }
    xmlChar* content = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(a));
    names_.emplace_back(content != nullptr ? reinterpret_cast<const char*>(content) : "");
    xmlFree(content);
    return names_.back();
  }
  return std::nullopt;
}

// Depth-first in document order, elements only: the walk of XPath's descendant axis.
void FieldIndex::Build(xmlDoc* doc, const std::string& uri) {
  Reset();
  doc_ = doc;
  uri_ = uri;
  std::vector<xmlNode*> resume;  // the next sibling of every open element
  for (xmlNode* node = doc->children; node != nullptr || !resume.empty();) {
    if (node == nullptr) {
      node = resume.back();
      resume.pop_back();
      continue;
    }
    if (node->type != XML_ELEMENT_NODE) {
      node = node->next;
      continue;
    }
    const std::optional<std::string_view> name =
        Is(node, "Field", uri) ? NameOf(node) : std::nullopt;
    if (name) {
      const auto index = static_cast<std::uint32_t>(fields_.size());
      fields_.push_back(node);
      nextSameName_.push_back(kNone);
      const auto [chain, added] = byName_.try_emplace(*name, Chain{index, index});
      if (!added) nextSameName_[std::exchange(chain->second.last, index)] = index;
    }
    resume.push_back(node->next);
    node = node->children;
  }
}

}  // namespace quenda::xml
