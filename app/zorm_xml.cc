#include "app/zorm_xml.h"

#include <new>

#include "platform/profile.h"
#include "platform/user_message.h"

CZORMXML::CZORMXML(OnCreationFailure on_failure) {
  try {
    m_pDoc = std::make_unique<XmlDocument>();
  } catch (const std::bad_alloc&) {
    if (on_failure == OnCreationFailure::kTell)
      ShowUserMessage(ProfileApplicationName(), "Failed to create CLSID_DOMDocument60", MessageIcon::kNone);
  }
}

CZORMXML::~CZORMXML() = default;

XmlResult CZORMXML::LoadXML(std::string text, XmlTextStorage storage) {
  if (!m_pDoc) return XmlResult::kFailure;
  return m_pDoc->Load(std::move(text), storage);
}

std::string CZORMXML::GetNodeName(Node node) const {
  return m_pDoc ? m_pDoc->NodeName(node) : std::string();
}

XmlResult CZORMXML::GetChildText(Node node, const std::string& name, std::string* text) const {
  text->clear();
  if (!m_pDoc) return XmlResult::kFailure;
  Node child = m_pDoc->SelectSingle(node, name);
  if (child.IsNull()) return XmlResult::kFalse;
  m_pDoc->AppendText(child, text);  // into the caller's buffer, which may be reused
  return XmlResult::kOk;
}
