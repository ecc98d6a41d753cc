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

// The first error of an evaluation; libxml2 reports a general one after the specific one.
struct FirstError {
  int code = 0;
  int position = 0;
};

// Also keeps libxml2 from printing the error.
void KeepFirst(void* data, xmlErrorPtr error) {
  auto* first = static_cast<FirstError*>(data);
  if (first->code != 0 || error == nullptr) return;
  first->code = error->code;
  first->position = error->int1;
}

// The reasons of libxml2's XPath error codes (xmlXPathError), in their order.
const char* const kReasons[] = {
    "kein Fehler",
    "Zahl ungültig",
    "Zeichenkette nicht abgeschlossen",
    "Zeichenkette erwartet",
    "Variablenverweis ungültig",
    "Variable nicht definiert",
    "Prädikat ungültig",
    "Ausdruck ungültig",
    "Klammer nicht geschlossen",
    "Funktion unbekannt",
    "Operand ungültig",
    "Typ ungültig",
    "Anzahl der Argumente ungültig",
    "Kontextgröße ungültig",
    "Kontextposition ungültig",
    "Speicher erschöpft",
    "XPointer-Syntaxfehler",
    "XPointer-Ressource ungültig",
    "XPointer-Teilressource ungültig",
    "Namensraum-Präfix nicht deklariert",
    "Kodierung ungültig",
    "Zeichen ungültig",
    "Kontext ungültig",
    "Stapel ungültig",
    "Variablen sind nicht erlaubt",
    "Ausdruck zu aufwendig",
    "Ausdruck zu tief verschachtelt",
};

std::string Reason(const FirstError& error) {
  const int index = error.code - XML_XPATH_EXPRESSION_OK;
  const int known = static_cast<int>(sizeof kReasons / sizeof kReasons[0]);
  std::string text = index > 0 && index < known ? Utf8ToCp1252(kReasons[index])
                                                : "Fehler " + std::to_string(error.code);
  return text + " (Zeichen " + std::to_string(error.position + 1) + ")";
}

Error QueryError(const std::string& expression, const std::string& reason) {
  return Error(kErrInvalidArgument, "Ungültiger XPath-Ausdruck '"_cp + expression + "': " + reason);
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
  FirstError first;
  ctx->error = KeepFirst;
  ctx->userData = &first;
  for (const auto& [prefix, uri] : bindings) {
    xmlXPathRegisterNs(ctx.get(), BAD_CAST prefix.c_str(), BAD_CAST uri.c_str());
  }
  const std::string utf8 = ToXml(expression);
  std::unique_ptr<xmlXPathObject, ObjectDeleter> result(
      xmlXPathEvalExpression(BAD_CAST utf8.c_str(), ctx.get()));
  if (!result) throw QueryError(expression, Reason(first));
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
