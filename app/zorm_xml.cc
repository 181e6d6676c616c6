#include "app/zorm_xml.h"

#include <new>

#include "app/upgrade_summary.h"
#include "platform/user_message.h"

CZORMXML::CZORMXML() {
  try {
    m_pDoc = std::make_unique<XmlDocument>();
  } catch (const std::bad_alloc&) {
    ShowUserMessage(kUpgradeAppTitle, "Failed to create CLSID_DOMDocument60", MessageIcon::kNone);
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
