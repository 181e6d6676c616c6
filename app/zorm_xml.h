// CZORMXML: the upgrade utility's XML document, the base of the feed reader. It
// owns one document and answers what the feed reader asks of it: load a text,
// the name of a node, the text of a node's first child of a given name. No wx:
// a creation failure is a user message (platform/user_message.h), which the
// program shows as a message box.
#pragma once

#include <memory>
#include <string>

#include "platform/xml_document.h"

class CZORMXML {
 public:
  using Node = XmlDocument::Node;

  // Whether a failure to create the document is told to the user.
  enum class OnCreationFailure { kTell, kStaySilent };

  // Creates the document. When that fails (out of memory) the user is shown
  // "Failed to create CLSID_DOMDocument60" (unless kStaySilent) and the object
  // stays usable: every operation then returns XmlResult::kFailure or an empty text.
  explicit CZORMXML(OnCreationFailure on_failure = OnCreationFailure::kTell);
  virtual ~CZORMXML();
  CZORMXML(const CZORMXML&) = delete;
  CZORMXML& operator=(const CZORMXML&) = delete;

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

  // False when the document could not be created.
  bool HasDocument() const { return m_pDoc != nullptr; }

 protected:
  std::unique_ptr<XmlDocument> m_pDoc;  // null when creation failed
};
