// DOMWrapper: one XML document (a FlowData job file) with a movable current node, on
// libxml2. It loads and saves the document, answers XPath 1.0 queries with the prefixes of
// its selection namespaces, walks the elements in document order and reads and writes the
// FlowData fields. All texts crossing this interface are CP1252; the document holds UTF-8.
//
// Three node references, all empty at first: the document, the current node (the cursor of
// the positioning operations and the context of relative queries and field operations) and
// the work node (the node last created, selected for writing or visited by a child loop).
// Load replaces the document but leaves both nodes where they were, in the old document,
// until a positioning operation without bPreserve resets them; the old document is kept
// alive as long as a node points into it, and so are nodes removed from the document.
//
// Failures are reported in one of four ways, fixed per operation (see each declaration):
//  - raised:   Error 60000 whose description is "Error in Function 'DOMWrapper.<Op>' "
//              + CR LF + "Argument(s) : " + the arguments as stated;
//  - shown:    an OK-only message box without title through the Ui, then a fixed result;
//  - absorbed: a fixed result without a message;
//  - passed:   the underlying Error unchanged (91 when there is no current node).
// RunEnded is never caught.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/error.h"

struct _xmlDoc;
struct _xmlNode;

namespace quenda {

class Files;
class Ui;
namespace xml {
class DocumentStore;
class FieldIndex;
}  // namespace xml

// A node of a document (libxml2's node). Owned by its document, never by the holder.
using XmlNode = _xmlNode;

// The selection namespace declaration that binds the prefix FD to `flowDataNamespaceUri`:
// "xmlns:FD='" + uri + "'", as Load takes it.
std::string FlowNamespaceDeclaration(const std::string& flowDataNamespaceUri);

class DOMWrapper {
 public:
  // The failure of Load or Save: the raised 60000 with the reason alone beside it, for a
  // caller that words the failure itself.
  class FileFailure : public Error {
   public:
    FileFailure(const Error& raised, std::string reason)
        : Error(raised), reason_(std::move(reason)) {}
    const std::string& Reason() const { return reason_; }

   private:
    std::string reason_;
  };

  // Uses `ui` for message boxes, `files` for path texts and the atomic save, and the
  // site's FlowData namespace for the FD prefix; `ui` and `files` must outlive the object.
  DOMWrapper(Ui& ui, const Files& files, std::string flowDataNamespaceUri);
  ~DOMWrapper();
  DOMWrapper(const DOMWrapper&) = delete;
  DOMWrapper& operator=(const DOMWrapper&) = delete;

  // ---- Document -------------------------------------------------------------------------

  // Parses the file `sPath_File` (Windows path text) into a new document, safely: no
  // network, no DTD loading, no entity declarations or references beyond the predefined
  // ones, whitespace-only text nodes dropped (an element holding only blanks has no child)
  // unless xml:space="preserve". When `sNameSpace` is not blank it becomes the selection
  // namespaces ("xmlns:FD='uri'", several separated by blanks).
  // Raises FileFailure, 60000: "...Argument(s) : " + path + CR LF + "Parse-Error : " + CR LF
  // + reason, the reason naming line and column ("Zeile 3, Spalte 7: ...", see
  // xml::ParseXml), or the file that could not be read; the document is then empty (the
  // previous one is gone all the same). The current and work node are not touched.
  void Load(const std::string& sPath_File, const std::string& sNameSpace = {});
  // Writes the whole document with its encoding declaration, indented, replacing the file
  // atomically (a failure leaves the old file). Raises FileFailure, 60000: "...Argument(s) : "
  // + path + CR LF + the reason (the platform's text naming the file: "Datenträger voll:
  // ...").
  void Save(const std::string& sPath_File);
  // A new document whose root element `elementname` becomes the work node; neither the
  // current node nor the selection namespaces are set. Passes errors (an invalid name).
  void NewDoc(const std::string& elementname);
  // The XML text of the current node's subtree. Passes 91 without a current node.
  std::string GetXML() const;
  // Sets the selection namespaces to "xmlns:FD='" + FlowDataNamespaceUri + "'".
  // Passes 91 when no document is loaded.
  void Flow_Property();
  // True when the current node is the root element (its parent is the document).
  // Passes 91 without a current node or when the current node has no parent.
  bool IsFirstNode() const;

  // ---- Document queries and edits (paths are XPath 1.0 on the document) ------------------

  // Appends a deep copy of the first match of `sPathSourceNode` as the last child of the
  // first match of `sPathTargetNode`. Raises 60000: CR LF, source, CR LF, target.
  void CloneNodes(const std::string& sPathSourceNode, const std::string& sPathTargetNode);
  // Removes the first match of `sPathChildNode` from the first match of `sPathParentNode`
  // (it must be its child). Raises 60000: CR LF, parent path, CR LF, child path.
  void RemoveNode(const std::string& sPathParentNode, const std::string& sPathChildNode);
  // Finds the parent, then removes the first match of `sPathChildren` (relative to the
  // parent) from its own parent until none is left. Raises 60000: CR LF, parent, CR LF,
  // children path.
  void RemoveNodes(const std::string& sPathParentNode, const std::string& sPathChildren);
  // Sets the attribute at 0-based position `nIndex` of every match of `sPath` to `sValue`
  // (earlier matches stay changed when a later one fails). Raises 60000: CR LF, path,
  // CR LF, nIndex, CR LF, value.
  void SetAttributes(const std::string& sPath, std::int32_t nIndex, const std::string& sValue);
  // Creates element `sNodename` with the text `sValue` and the attributes named by
  // `sAttributNamen` (cut at ";", valued by `sAttributWerte` cut at ";"; none when blank),
  // and appends it to the first match of `sPath`, or to that match's parent when
  // `bSameLevel`. Raises 60000: CR LF, path, CR LF, name, CR LF, value, CR LF, names,
  // CR LF, values, CR LF, "Wahr" or "Falsch"; a failing attribute leaves the element
  // unattached.
  void AppendNode(const std::string& sPath, const std::string& sNodename,
                  const std::string& sValue = {}, const std::string& sAttributNamen = {},
                  const std::string& sAttributWerte = {}, bool bSameLevel = false);
  // Parses `sNodeText` (safely, as Load; an encoding declaration in it is ignored) into a
  // temporary document and appends a copy of its first child to the first match of
  // `sPath`. A non-blank `sNameSpace` must be a valid declaration text; it binds nothing
  // during parsing. Raises 60000: CR LF, path, CR LF, text.
  void AppendChildNodefromText(const std::string& sPath, const std::string& sNodeText,
                               const std::string& sNameSpace = {});
  // Appends `ChildNode` to the first match of `sPath`: a node of this document is moved,
  // a node of another document is copied (its owner keeps it). Raises 60000: CR LF, path,
  // CR LF, the text content of the node.
  void AppendChildNodefromNode(const std::string& sPath, XmlNode* ChildNode);
  // The first match of `sElement` becomes the current node; returns its text. A missing
  // node leaves the current node empty and, with `bOptional`, returns "" silently. The
  // usual field queries are answered from an index of the document's fields (built on
  // first use, dropped by every change), so reading many fields stays linear.
  // Raises 60000: "...Argument(s) : " + sElement (any other failure, also with bOptional).
  std::string GetElementValue(const std::string& sElement, bool bOptional);
  // The first match of `sElement` becomes the work node; its text is set to `sValue`.
  // Raises 60000: "...Argument(s) : " + sElement.
  void SetElementValue(const std::string& sElement, const std::string& sValue);
  // Number of elements whose qualified name is `element` ("*" for all). Shown: the error
  // description (6 Overflow past 32767), then 0.
  std::int16_t CountElementsByTagName(const std::string& element);
  // Text of the element at 0-based position `itemnum` among those named `element`.
  // Shown: the error description (91 past the last one), then "".
  std::string GetElementByTagName(const std::string& element, std::int16_t itemnum);

  // ---- Current node: positioning ----------------------------------------------------------

  // Walks on in document order from the current node (from the root element unless
  // `bPreserve`) to the next element whose local name, trimmed and upper-cased, equals
  // `sNodename` so; the start node is never matched. True when found (the current node is
  // on it); at the end the current node is empty and the result false. Shown: number
  // + ": " + description, then false.
  bool PosNode(const std::string& sNodename, bool bPreserve = false);
  // As PosNode, and the element's first attribute value, upper-cased, must equal
  // `sNameAttr` upper-cased (not trimmed). A matching element without attributes is a
  // failure. Shown as PosNode.
  bool PosNodeByName(const std::string& sNodename, const std::string& sNameAttr,
                     bool bPreserve = false);
  // As PosNode, and the attribute whose local name equals `sNameAttr` (ignoring case) must
  // have the value `sValAttr` (ignoring case); without such an attribute the first
  // attribute's value is compared. Shown as PosNode.
  bool PosNodeByAttribut(const std::string& sNodename, const std::string& sNameAttr,
                         const std::string& sValAttr, bool bPreserve = false);
  // Moves the current node one element on in document order; the element reached also
  // becomes the work node. Returns its local name, or "EOF" at the end and on any failure.
  std::string GetNextElemName();

  // ---- Current node: reading (relative paths are XPath 1.0 from the current node) ---------

  // Text of the first match of `qu_path_name`. Raises 60000 with the description
  // "Fehler beim Auslesen des XML-Tags '" + path + "'  " + the underlying description,
  // trimmed (91's text when nothing matches or there is no current node).
  std::string GetElementByName(const std::string& qu_path_name);
  // True when `qu_path_name` matches a node. Absorbed: false.
  bool CheckElementByName(const std::string& qu_path_name);
  // Visits every child of the current node (each becomes the work node); returns the
  // text of the last child whose local name matches `sFieldName`, or "". Passes errors.
  std::string GetChild(const std::string& sFieldName);
  // Text of the current node. Passes 91.
  std::string GetField() const;
  // The first attribute whose local name matches `sAttributName` (trimmed, ignoring case):
  // its text goes to `sType`, result true. Absorbed: false (no match, no current node).
  bool GetAttribut(const std::string& sAttributName, std::string& sType);
  // True when the current node has any child node, text included. Passes 91.
  bool HasChilds() const;
  // Number of child nodes of the current node, text included. Shown: number + ": " +
  // description (91, or 6 past 32767), then 0.
  std::int16_t GetAnzChilds();

  // ---- Current node: writing (changes the document in memory only; Save writes it) -------
  // New elements are created by their qualified name ("FD:Field") in the namespace that
  // the prefix has where they are appended (an unprefixed name takes the default namespace
  // in scope). An "FD" prefix the document does not declare is bound to the FlowData
  // namespace and declared on the root element, so a saved job always loads again; any
  // other undeclared prefix is an error (5), and so is a text with a control character
  // that XML cannot hold (below 20 hex but TAB, LF, CR). The same holds for AppendNode.

  // Sets the text of the first match of `qu_path_name` and returns the text read back.
  // Shown: the error description (91 when nothing matches), then "".
  std::string SetElementByName(const std::string& qu_path_name, const std::string& newvalue);
  // Sets the text of every child whose local name matches `sFieldName` (each becomes the
  // work node). Passes errors.
  void SetChild(const std::string& sFieldName, const std::string& sValue);
  // Appends a new element `sNodename` to the current node; it becomes the work node, the
  // current node stays. Passes errors.
  void AddNode(const std::string& sNodename);
  // Appends "FD:Field" with the attributes Name = `sName`, FlowType = `sFlowType` (in this
  // order) and the text `sValue` to the current node; it becomes the work node. Passes
  // errors.
  void AddField(const std::string& sName, const std::string& sFlowType, const std::string& sValue);
  // Appends "FD:Datas" with the attribute Table = `sName` to the current node; it becomes
  // the work node. Passes errors.
  void AddDatas(const std::string& sName);
  // Appends a deep copy of the current node to its parent (not to the document: one root
  // element only). Passes errors.
  void CloneNode();

 private:
  // The next element in document order from the current node, passing over text nodes;
  // nullptr at the end. See the .cpp for its two failure traps.
  XmlNode* NextNode();
  XmlNode* SiblingOrUp();
  // Moves from the root element (unless `bPreserve`) to the next element that `accept`s;
  // the shared loop of the positioning operations, with their shown failure.
  template <class Accept>
  bool Position(bool bPreserve, Accept accept);

  // The current document; throws 91 before the first Load or NewDoc.
  _xmlDoc* Document() const;
  // First match of `path` from the document node / from the current node (91 without
  // one); nullptr when nothing matches.
  XmlNode* DocumentQuery(const std::string& path);
  // DocumentQuery through the field index where it can answer.
  XmlNode* FirstField(const std::string& path);
  XmlNode* CurrentQuery(const std::string& path);
  // Sets the text of an element (its children are replaced), attribute or text node.
  void SetText(XmlNode* node, const std::string& value);
  // The raised error 60000: "Error in Function 'DOMWrapper.<operation>' " + CR LF +
  // "Argument(s) : " + `arguments`.
  static Error Failure(const std::string& operation, const std::string& arguments);
  // Frees what no node reference needs any more.
  void Collect();
  // Every operation that changes the document, its tree or its selection namespaces calls
  // this first: the field index no longer holds.
  void Edited();
  void ShowNumbered(const Error& error);
  void ShowPlain(const Error& error);

  Ui& ui_;
  const Files& files_;
  std::string flowDataUri_;
  std::unique_ptr<xml::DocumentStore> store_;
  std::unique_ptr<xml::FieldIndex> fieldIndex_;
  XmlNode* currentNode_ = nullptr;
  XmlNode* workNode_ = nullptr;
};

}  // namespace quenda
