// XmlDocument over pugixml, parsing in place in the text's own buffer.
#include "platform/xml_document.h"

#include <pugixml.hpp>

#include <mutex>
#include <new>

#include "platform/huge_pages.h"

namespace {

pugi::xml_node ToPugi(void* handle) {
  return pugi::xml_node(static_cast<pugi::xml_node_struct*>(handle));
}

// A name that is also an XPath step selecting child elements of that name.
bool IsPlainName(const std::string& path) {
  if (path.empty()) return false;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = path[i];
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    bool other = (c >= '0' && c <= '9') || c == '-' || c == '.';
    if (!(letter || (i > 0 && other))) return false;
  }
  return true;
}

// pugixml also accepts fragments; a document has exactly one root element and
// no text beside it.
bool HasOneRootElement(const pugi::xml_document& document) {
  int elements = 0;
  for (pugi::xml_node child : document.children()) {
    if (child.type() == pugi::node_element) ++elements;
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) return false;
  }
  return elements == 1;
}

}  // namespace

struct XmlDocument::Impl {
  pugi::xml_document document;
  std::string buffer;  // the parsed text; node names and values point into it
  bool loaded = false;
};

#if defined(__SANITIZE_ADDRESS__)
#define ZORM_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORM_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// pugixml takes its node pages from huge pages: a long document's nodes are then
// a few faults instead of thousands. Set before the first document exists, since
// memory must go back to the functions it came from. AddressSanitizer checks only
// what malloc gives, so its builds keep pugixml's own.
void UseHugePagesForNodes() {
#if !defined(ZORM_ADDRESS_SANITIZER)
  static std::once_flag once;
  std::call_once(once, [] {
    pugi::set_memory_management_functions(AllocateFromHugePages, FreeToHugePages);
  });
#endif
}

}  // namespace

XmlDocument::XmlDocument() {
  UseHugePagesForNodes();
  impl_ = std::make_unique<Impl>();
}
XmlDocument::~XmlDocument() = default;

XmlResult XmlDocument::Load(std::string text, XmlTextStorage storage) {
  impl_->document.reset();
  impl_->loaded = false;
  impl_->buffer = std::move(text);
  // Document type declarations are skipped, not read: no entity they declare is
  // ever expanded. Whitespace-only text between elements is dropped.
  unsigned int parse_options = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;
  if (storage == XmlTextStorage::kInElements) parse_options |= pugi::parse_embed_pcdata;
  pugi::xml_parse_result parsed = impl_->document.load_buffer_inplace(
      impl_->buffer.data(), impl_->buffer.size(), parse_options, pugi::encoding_auto);
  if (parsed.status == pugi::status_out_of_memory) {
    impl_->document.reset();
    return XmlResult::kFailure;
  }
  if (!parsed || !HasOneRootElement(impl_->document)) {
    impl_->document.reset();  // a text that did not parse leaves an empty document
    return XmlResult::kFalse;
  }
  impl_->loaded = true;
  return XmlResult::kOk;
}

XmlDocument::Node XmlDocument::Root() const {
  if (!impl_->loaded) return Node();
  return Node(impl_->document.internal_object());
}

XmlDocument::Node XmlDocument::SelectSingle(Node context, const std::string& path) const {
  if (context.IsNull()) return Node();
  pugi::xml_node node = ToPugi(context.handle_);
  if (IsPlainName(path)) return Node(node.child(path.c_str()).internal_object());
  try {
    pugi::xpath_node found = node.select_node(path.c_str());
    return Node(found.node().internal_object());
  } catch (const pugi::xpath_exception&) {
    return Node();
  } catch (const std::bad_alloc&) {
    return Node();
  }
}

std::vector<XmlDocument::Node> XmlDocument::Children(Node node) const {
  std::vector<Node> children;
  if (node.IsNull()) return children;
  for (pugi::xml_node child : ToPugi(node.handle_).children())
    children.push_back(Node(child.internal_object()));
  return children;
}

std::string XmlDocument::NodeName(Node node) const {
  if (node.IsNull()) return std::string();
  pugi::xml_node n = ToPugi(node.handle_);
  switch (n.type()) {
    case pugi::node_element:
    case pugi::node_pi:
      return n.name();
    case pugi::node_pcdata:
      return "#text";
    case pugi::node_cdata:
      return "#cdata-section";
    case pugi::node_comment:
      return "#comment";
    case pugi::node_document:
      return "#document";
    case pugi::node_doctype:
      return "#doctype";
    case pugi::node_declaration:
      return "xml";
    default:
      return std::string();
  }
}

std::string XmlDocument::Attribute(Node node, const char* name) const {
  if (node.IsNull()) return std::string();
  return ToPugi(node.handle_).attribute(name).value();
}

std::string XmlDocument::Text(Node node) const {
  std::string text;
  AppendText(node, &text);
  return text;
}

void XmlDocument::AppendText(Node node, std::string* text) const {
  if (node.IsNull()) return;
  // Text and CDATA nodes hold their text as their value; so does an element that
  // keeps its leading text itself (XmlTextStorage::kInElements); other nodes'
  // values are not text.
  auto append_own_text = [text](pugi::xml_node n) {
    pugi::xml_node_type type = n.type();
    if (type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_element)
      text->append(n.value());
  };
  pugi::xml_node top = ToPugi(node.handle_);
  append_own_text(top);
  // Walk the subtree without recursion: documents may nest arbitrarily deep.
  pugi::xml_node current = top.first_child();
  while (current && current != top) {
    append_own_text(current);
    if (current.first_child()) {
      current = current.first_child();
      continue;
    }
    while (current != top && !current.next_sibling()) current = current.parent();
    if (current != top) current = current.next_sibling();
  }
}
