#include "xml/xml_parser.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <string_view>

#include "base/error.h"
#include "text/cp1252.h"
#include "xml/xml_node.h"

namespace quenda::xml {
namespace {

struct ParseState {
  std::string reason;  // the first failure; the parse fails when it is set
  bool blank = false;  // the text holds nothing but white space
};

ParseState& StateOf(void* ctx) {
  auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
  return *static_cast<ParseState*>(ctxt->_private);
}

std::string AtPosition(long line, long column, const std::string& text) {
  return "Zeile " + std::to_string(line) + ", Spalte " + std::to_string(column) + ": " + text;
}

// What kind of failure the parser met, in the words a user of the job reads.
std::string FailureKind(const xmlError& error, const std::string& message, bool blank) {
  if (message.rfind("Excessive depth", 0) == 0) {
    return "Das Dokument ist zu tief geschachtelt";
  }
  if (error.domain == XML_FROM_NAMESPACE) return "Ein Namensraum ist nicht deklariert";
  switch (error.code) {
    case XML_ERR_NO_MEMORY:
      return "Nicht genügend Arbeitsspeicher"_cp;
    case XML_ERR_DOCUMENT_EMPTY:  // also text without any element
      return blank ? "Das Dokument ist leer" : "Das Dokument ist nicht wohlgeformt";
    case XML_ERR_INVALID_CHAR:
      return "Ungültiges Zeichen oder falsche Kodierung"_cp;
    case XML_ERR_INVALID_ENCODING:
    case XML_ERR_UNKNOWN_ENCODING:
    case XML_ERR_UNSUPPORTED_ENCODING:
    case XML_ERR_ENCODING_NAME:
      return "Ungültige Kodierung"_cp;
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY:
      return "Verweis auf eine nicht erlaubte Entität"_cp;
    default:
      return "Das Dokument ist nicht wohlgeformt";
  }
}

void OnError(void* ctx, xmlErrorPtr error) {
  ParseState& state = StateOf(ctx);
  if (error == nullptr || error->level < XML_ERR_ERROR || !state.reason.empty()) return;
  std::string message = FromXml(reinterpret_cast<const xmlChar*>(error->message));
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
    message.pop_back();
  }
  std::replace(message.begin(), message.end(), '\n', ' ');  // one line, for the error file
  state.reason = AtPosition(error->line, error->int2,
                            FailureKind(*error, message, state.blank) + " (" + message + ")");
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

// libxml2 tells some failures (memory running out) on its generic channel, standard
// error by default; the reason reaches the caller through OnError all the same.
void Quiet(void*, const char*, ...) {}

struct CtxtDeleter {
  void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The parser takes no UTF-32; a job in it is refused by its name, not as an empty document.
void RefuseUtf32(const std::string& bytes) {
  using namespace std::string_view_literals;
  if (bytes.starts_with("\x00\x00\xFE\xFF"sv) || bytes.starts_with("\xFF\xFE\x00\x00"sv)) {
    throw Error(kErrInvalidArgument,
                "Zeile 1, Spalte 1: Die Kodierung UTF-32 wird nicht unterstützt (UTF-8, UTF-16 "
                "oder ISO-8859-1 verwenden)"_cp);
  }
}

// Bytes in UTF-8 with its mark are read as UTF-8 whatever the declaration says; the
// document then says UTF-8, so that a save writes the declaration its bytes match.
void DeclareUtf8AfterMark(const std::string& bytes, xmlDoc* doc) {
  if (!bytes.starts_with(kUtf8Mark) || doc->encoding == nullptr ||
      xmlStrcasecmp(doc->encoding, BAD_CAST "UTF-8") == 0) {
    return;
  }
  xmlFree(const_cast<xmlChar*>(doc->encoding));
  doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
}

}  // namespace

DocPtr ParseXml(const std::string& bytes, bool utf8Text) {
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    throw Error(kErrInvalidArgument, "Die Datei ist zu groß für den XML-Parser"_cp);
  }
  RefuseUtf32(bytes);
  xmlInitParser();
  xmlSetGenericErrorFunc(nullptr, Quiet);
  std::unique_ptr<xmlParserCtxt, CtxtDeleter> ctxt(
      xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())));
  if (!ctxt && bytes.empty())
    throw Error(kErrInvalidArgument, "Zeile 1, Spalte 1: Das Dokument ist leer");
  if (!ctxt) {
    throw Error(kErrOutOfMemory,
                "Nicht genügend Arbeitsspeicher für "_cp + std::to_string(bytes.size()) + " Bytes");
  }
  ParseState state;
  state.blank = bytes.find_first_not_of(" \t\r\n") == std::string::npos;
  // The UTF-8 mark says what the bytes are; a declaration that says otherwise is wrong.
  const bool utf8 = utf8Text || bytes.starts_with(kUtf8Mark);
  xmlCtxtUseOptions(ctxt.get(), kParseOptions | (utf8 ? XML_PARSE_IGNORE_ENC : 0));
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
  if (!utf8Text) DeclareUtf8AfterMark(bytes, doc.get());
  DropBlankTextNodes(reinterpret_cast<xmlNode*>(doc.get()));
  return doc;
}

void DropBlankTextNodes(xmlNode* node) {
  const bool preserve = node->type == XML_ELEMENT_NODE && xmlNodeGetSpacePreserve(node) == 1;
  xmlNode* child = node->children;
  while (child != nullptr) {
    xmlNode* next = child->next;
    if (child->type == XML_TEXT_NODE && !preserve && xmlIsBlankNode(child)) {
      xmlUnlinkNode(child);
      xmlFreeNode(child);
    } else if (child->type == XML_ELEMENT_NODE) {
      DropBlankTextNodes(child);
    }
    child = next;
  }
}

}  // namespace quenda::xml
