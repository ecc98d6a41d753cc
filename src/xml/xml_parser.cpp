#include "xml/xml_parser.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <climits>

#include "base/error.h"
#include "text/cp1252.h"
#include "xml/xml_node.h"

namespace quenda::xml {
namespace {

struct ParseState {
  std::string reason;  // the first failure; the parse fails when it is set
};

ParseState& StateOf(void* ctx) {
  auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  return *static_cast<ParseState*>(ctxt->_private);
}

std::string AtPosition(long line, long column, const std::string& message) {
  std::string text = message;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return "Zeile " + std::to_string(line) + ", Spalte " + std::to_string(column) + ": " + text;
}

void OnError(void* ctx, xmlErrorPtr error) {
  ParseState& state = StateOf(ctx);
  if (error == nullptr || error->level < XML_ERR_ERROR || !state.reason.empty()) return;
  const xmlChar* message = reinterpret_cast<const xmlChar*>(error->message);
  state.reason = AtPosition(error->line, error->int2, FromXml(message));
}

// Entities are refused at their declaration: no replacement text is ever parsed, no
// external entity is opened, and an expansion bomb never starts.
void Refuse(void* ctx, const std::string& what) {
  auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  ParseState& state = StateOf(ctx);
  if (state.reason.empty()) {
    state.reason = AtPosition(xmlSAX2GetLineNumber(ctxt), xmlSAX2GetColumnNumber(ctxt), what);
  }
  xmlStopParser(ctxt);
}

void OnEntityDecl(void* ctx, const xmlChar* name, int, const xmlChar*, const xmlChar*, xmlChar*) {
  Refuse(ctx, "Entitätsdeklaration '"_cp + FromXml(name) + "' ist nicht erlaubt");
}

void OnUnparsedEntityDecl(void* ctx, const xmlChar* name, const xmlChar*, const xmlChar*,
                          const xmlChar*) {
  Refuse(ctx, "Entitätsdeklaration '"_cp + FromXml(name) + "' ist nicht erlaubt");
}

void OnReference(void* ctx, const xmlChar* name) {
  Refuse(ctx, "Entitätsverweis '&"_cp + FromXml(name) + ";' ist nicht erlaubt");
}

struct CtxtDeleter {
  void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

}  // namespace

DocPtr ParseXml(const std::string& bytes, bool utf8Text) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    throw Error(kErrInvalidArgument, "Die Datei ist zu groß für den XML-Parser"_cp);
  }
  std::unique_ptr<xmlParserCtxt, CtxtDeleter> ctxt(
      xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())));
  if (!ctxt) throw Error(kErrInvalidArgument, "Zeile 1, Spalte 1: Das Dokument ist leer");
  ParseState state;
  xmlCtxtUseOptions(ctxt.get(), kParseOptions | (utf8Text ? XML_PARSE_IGNORE_ENC : 0));
  ctxt->_private = &state;
  ctxt->sax->serror = OnError;
  ctxt->sax->entityDecl = OnEntityDecl;
  ctxt->sax->unparsedEntityDecl = OnUnparsedEntityDecl;
  ctxt->sax->reference = OnReference;
  xmlParseDocument(ctxt.get());
  DocPtr doc(ctxt->myDoc);
  ctxt->myDoc = nullptr;
  if (state.reason.empty() && (!ctxt->wellFormed || !ctxt->nsWellFormed || !doc)) {
    state.reason = "Das Dokument ist nicht wohlgeformt";
  }
  if (!state.reason.empty()) throw Error(kErrInvalidArgument, state.reason);
  DropBlankTextNodes(reinterpret_cast<xmlNode*>(doc.get()));
  return doc;
}

void DropBlankTextNodes(xmlNode* node) {
  xmlNode* child = node->children;
  while (child != nullptr) {
    xmlNode* next = child->next;
    const bool hasSibling = child->prev != nullptr || child->next != nullptr;
    if (child->type == XML_TEXT_NODE && hasSibling && xmlIsBlankNode(child)) {
      xmlUnlinkNode(child);
      xmlFreeNode(child);
    } else if (child->type == XML_ELEMENT_NODE) {
      DropBlankTextNodes(child);
    }
    child = next;
  }
}

}  // namespace quenda::xml
