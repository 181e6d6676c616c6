#include "platform/xml_document.h"

#include <gtest/gtest.h>

namespace {

// Names and texts of every node below `node` other than text nodes, in order.
std::string Outline(const XmlDocument& document, XmlDocument::Node node) {
  std::string outline = document.NodeName(node) + "=" + document.Text(node) + "(";
  for (XmlDocument::Node child : document.Children(node))
    if (document.NodeName(child) != "#text") outline += Outline(document, child);
  return outline + ")";
}

TEST(XmlDocumentTest, LoadTellsParsedFromNotWellFormedAndForgetsTheEarlierDocument) {
  const std::pair<std::string, XmlResult> cases[] = {
      {"<a/>", XmlResult::kOk},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>x</a>", XmlResult::kOk},
      {std::string("\xFF\xFE<\0a\0/\0>\0", 10), XmlResult::kOk},  // UTF-16 with a BOM
      {"", XmlResult::kFalse},
      {"<a><b></a>", XmlResult::kFalse},
      {"Internal Server Error", XmlResult::kFalse},
      {"<html><body><p>500<br></body></html>", XmlResult::kFalse},
      {"<a/><b/>", XmlResult::kFalse},
  };
  for (const auto& [text, expected] : cases) {
    XmlDocument document;
    ASSERT_EQ(document.Load("<rss/>"), XmlResult::kOk);
    EXPECT_EQ(document.Load(text), expected) << text;
    EXPECT_EQ(document.Root().IsNull(), expected != XmlResult::kOk) << text;
    EXPECT_TRUE(document.SelectSingle(document.Root(), "rss").IsNull()) << text;
  }
}

TEST(XmlDocumentTest, SelectsFirstMatchByNameOrPath) {
  XmlDocument document;
  ASSERT_EQ(document.Load("<r><a>1</a><b><c>2</c></b><a>3</a><x:a xmlns:x='u'>4</x:a></r>"),
            XmlResult::kOk);
  XmlDocument::Node r = document.SelectSingle(document.Root(), "r");
  const std::pair<const char*, const char*> cases[] = {
      {"a", "1"},     {"b/c", "2"},   {"a[2]", "3"},    {"//c", "2"},
      {"c", nullptr}, {"A", nullptr}, {"(((", nullptr}, {"", nullptr}};
  for (const auto& [path, text] : cases) {
    XmlDocument::Node node = document.SelectSingle(r, path);
    EXPECT_EQ(node.IsNull(), text == nullptr) << path;
    EXPECT_EQ(document.Text(node), text ? text : "") << path;
  }
}

TEST(XmlDocumentTest, NodesKeepOrderKindAndAllDescendantText) {
  const char* const texts[] = {
      "<c>text<title/><!--note--><item/><![CDATA[x]]><?pi y?><item/></c>",
      "<a>x<b>y<![CDATA[<z>&amp;]]><c/>&lt;&#233;&#x20AC;</b>w</a>",
      "<r>lead<t>a</t>tail<t><![CDATA[first]]>then<u>deep<v>er</v></u>end</t></r>",
      "<r><t>\r\nline\r\n</t><p><?pi x?>text</p><q><!--n-->after</q> <e/>\n</r>",
  };
  const char* const outlines[] = {
      "#document=textx(c=textx(title=()#comment=()item=()#cdata-section=x()pi=()item=()))",
      "#document=xy<z>&amp;<\xC3\xA9\xE2\x82\xACw(a=xy<z>&amp;<\xC3\xA9\xE2\x82\xACw(b=y<z>&amp;"
      "<\xC3\xA9\xE2\x82\xAC(#cdata-section=<z>&amp;()c=())))",
      "#document=leadatailfirstthendeeperend(r=leadatailfirstthendeeperend(t=a()t="
      "firstthendeeperend(#cdata-section=first()u=deeper(v=er()))))",
      "#document=\nline\ntextafter(r=\nline\ntextafter(t=\nline\n()p=text(pi=())"
      "q=after(#comment=())e=()))",
  };
  for (size_t i = 0; i < std::size(texts); ++i) {
    XmlDocument nodes, in_elements;
    ASSERT_EQ(nodes.Load(texts[i]), XmlResult::kOk) << texts[i];
    ASSERT_EQ(in_elements.Load(texts[i], XmlTextStorage::kInElements), XmlResult::kOk);
    EXPECT_EQ(Outline(nodes, nodes.Root()), outlines[i]);
    EXPECT_EQ(Outline(in_elements, in_elements.Root()), outlines[i]);
  }
}

TEST(XmlDocumentTest, DeclaredEntitiesAreNeverExpanded) {
  XmlDocument document;
  document.Load(
      "<!DOCTYPE a [<!ENTITY l0 \"boom\"><!ENTITY l1 \"&l0;&l0;&l0;&l0;&l0;&l0;&l0;&l0;\">"
      "<!ENTITY ext SYSTEM \"file:///etc/passwd\">]><a>&l1;|&ext;</a>");
  std::string text = document.Text(document.SelectSingle(document.Root(), "a"));
  EXPECT_EQ(text.find("boom"), std::string::npos);
  EXPECT_EQ(text.find("root:"), std::string::npos);
  EXPECT_LT(text.size(), 64u);
}

}  // namespace
