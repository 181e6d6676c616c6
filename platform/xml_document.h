// An XML document held in memory: parse a text, then walk it by first-child
// selections, child lists, node names and text contents. Only the document's own
// markup is read: a document type declaration is skipped, entities other than the
// five predefined ones and character references are never expanded, and nothing
// is fetched from outside. Not thread-safe; nodes are valid until the next Load
// or the document's destruction.
#pragma once

#include <memory>
#include <string>
#include <vector>

enum class XmlResult {
  kOk,       // done
  kFalse,    // nothing to do: the text was not well-formed, or nothing matched
  kFailure,  // the document could not do it at all (out of memory, no document)
};

// How text directly inside an element is held. kNodes: as child nodes, as a DOM
// shows them. kInElements: an element's leading text is kept in the element
// itself, a third fewer nodes for documents made of many small text elements;
// Children then leaves that text out and XPath text() tests do not see it, while
// plain-name selections, NodeName and Text read the same as with kNodes.
enum class XmlTextStorage { kNodes, kInElements };

class XmlDocument {
 public:
  // A position in the document; default-constructed it is the null node.
  class Node {
   public:
    Node() = default;
    bool IsNull() const { return handle_ == nullptr; }

   private:
    friend class XmlDocument;
    explicit Node(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
  };

  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Replaces the document by the one in `text` (UTF-8, or UTF-16/32 with a byte
  // order mark). The document keeps the text and parses it in place, so memory
  // stays close to the size of the text. kOk: parsed; kFalse: not well-formed,
  // the document is empty; kFailure: out of memory.
  XmlResult Load(std::string text, XmlTextStorage storage = XmlTextStorage::kNodes);

  // The document node, parent of the root element; null before a successful Load.
  Node Root() const;

  // The first node that `path` selects relative to `context`: a plain name
  // ("channel") selects the first child element of that name; anything else is
  // evaluated as an XPath expression. Null when nothing matches or `path` is not
  // a valid expression.
  Node SelectSingle(Node context, const std::string& path) const;

  // The child nodes of `node` in document order (elements, text, comments, ...).
  std::vector<Node> Children(Node node) const;

  // Element name, or "#text", "#cdata-section", "#comment", "#document",
  // "#processing-instruction" name for other kinds.
  std::string NodeName(Node node) const;

  // The value of the attribute `name` of element `node`; empty when it has none.
  std::string Attribute(Node node, const char* name) const;

  // All text and CDATA below `node` concatenated in document order.
  std::string Text(Node node) const;
  // The same, appended to `*text`.
  void AppendText(Node node, std::string* text) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
