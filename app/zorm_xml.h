// CZORMXML: the upgrade utility's XML document, the base of the feed reader. It
// owns one document and answers what the feed reader asks of it: load a text,
// the name of a node, the text of a node's first child of a given name. No wx:
// creation failures go to a reporter the program installs.
#pragma once

#include <memory>
#include <string>

#include "platform/xml_document.h"

class CZORMXML {
 public:
  using Node = XmlDocument::Node;

  // Creates the document. When that fails the reporter is called with
  // "Failed to create CLSID_DOMDocument60" and the object stays usable: every
  // operation then returns XmlResult::kFailure or an empty text.
  CZORMXML();
  virtual ~CZORMXML();
  CZORMXML(const CZORMXML&) = delete;
  CZORMXML& operator=(const CZORMXML&) = delete;

  // How the program shows the creation failure (a message box in the GUI);
  // by default the text goes to standard error.
  using ErrorReporter = void (*)(const char* text);
  static void SetErrorReporter(ErrorReporter reporter);

  // Parses `text` into the document. kOk: parsed; kFalse: not well-formed (the
  // document is then empty); kFailure: no document, or out of memory. `storage`
  // as XmlDocument::Load has it.
  XmlResult LoadXML(std::string text, XmlTextStorage storage = XmlTextStorage::kNodes);

  // The node's name ("item", "#text", ...); empty for a null node.
  std::string GetNodeName(Node node) const;

  // Empties `*text`, then selects the first node `name` names relative to `node`
  // and sets `*text` to all the text below it. kOk when found, kFalse when
  // nothing matched (`*text` stays empty), kFailure without a document.
  XmlResult GetChildText(Node node, const std::string& name, std::string* text) const;

 protected:
  std::unique_ptr<XmlDocument> m_pDoc;  // null when creation failed
};
