#include "xml/xpath_query.h"

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <memory>

#include "base/error.h"
#include "text/cp1252.h"
#include "xml/xml_node.h"

namespace quenda::xml {
namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

Error BadDeclaration(const std::string& declarations) {
  return Error(kErrInvalidArgument,
               "Ungültige Namensraum-Deklaration für Abfragen: '"_cp + declarations + "'");
}

// Reads one "xmlns[:prefix]=<q>uri<q>" at `pos`; returns false when it is malformed.
bool ReadDeclaration(const std::string& text, std::size_t& pos, NamespaceBindings& out) {
  if (text.compare(pos, 5, "xmlns") != 0) return false;
  pos += 5;
  std::string prefix;
  if (pos < text.size() && text[pos] == ':') {
    const std::size_t eq = text.find('=', pos);
    if (eq == std::string::npos) return false;
    prefix = text.substr(pos + 1, eq - pos - 1);
    pos = eq;
    if (prefix.empty() || xmlValidateNCName(BAD_CAST prefix.c_str(), 0) != 0) return false;
  }
  if (pos + 1 >= text.size() || text[pos] != '=') return false;
  const char quote = text[pos + 1];
  if (quote != '\'' && quote != '"') return false;
  const std::size_t end = text.find(quote, pos + 2);
  if (end == std::string::npos) return false;
  if (!prefix.empty()) out.emplace_back(prefix, text.substr(pos + 2, end - pos - 2));
  pos = end + 1;
  return pos >= text.size() || IsBlankChar(text[pos]);
}

struct ContextDeleter {
  void operator()(xmlXPathContext* ctx) const { xmlXPathFreeContext(ctx); }
};
struct ObjectDeleter {
  void operator()(xmlXPathObject* obj) const { xmlXPathFreeObject(obj); }
};

// Keeps libxml2 from printing; the reason is read from the context afterwards.
void Silent(void*, xmlErrorPtr) {}

Error QueryError(const std::string& expression, const std::string& reason) {
  std::string text = reason;
  while (!text.empty() && IsBlankChar(text.back())) text.pop_back();
  return Error(kErrInvalidArgument, "Ungültiger XPath-Ausdruck '"_cp + expression + "': " + text);
}

}  // namespace

NamespaceBindings ParseSelectionNamespaces(const std::string& declarations) {
  const std::string text = ToXml(declarations);
  NamespaceBindings bindings;
  std::size_t pos = 0;
  while (true) {
    while (pos < text.size() && IsBlankChar(text[pos])) ++pos;
    if (pos >= text.size()) return bindings;
    if (!ReadDeclaration(text, pos, bindings)) throw BadDeclaration(declarations);
  }
}

std::vector<xmlNode*> SelectNodes(xmlDoc* doc, xmlNode* context, const std::string& expression,
                                  const NamespaceBindings& bindings) {
  std::unique_ptr<xmlXPathContext, ContextDeleter> ctx(xmlXPathNewContext(doc));
  if (!ctx) throw QueryError(expression, "out of memory");
  ctx->node = context;
  ctx->error = Silent;
  for (const auto& [prefix, uri] : bindings) {
    xmlXPathRegisterNs(ctx.get(), BAD_CAST prefix.c_str(), BAD_CAST uri.c_str());
  }
  const std::string utf8 = ToXml(expression);
  std::unique_ptr<xmlXPathObject, ObjectDeleter> result(
      xmlXPathEvalExpression(BAD_CAST utf8.c_str(), ctx.get()));
  if (!result) {
    const char* reason = ctx->lastError.message;
    throw QueryError(expression, reason != nullptr ? FromXml(BAD_CAST reason) : "");
  }
  if (result->type != XPATH_NODESET) {
    throw QueryError(expression, "Das Ergebnis ist keine Knotenmenge");
  }
  std::vector<xmlNode*> nodes;
  const xmlNodeSet* set = result->nodesetval;
  for (int i = 0; set != nullptr && i < set->nodeNr; ++i) {
    if (set->nodeTab[i]->type != XML_NAMESPACE_DECL) nodes.push_back(set->nodeTab[i]);
  }
  return nodes;
}

}  // namespace quenda::xml
