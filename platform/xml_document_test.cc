#include "platform/xml_document.h"

#include <gtest/gtest.h>

TEST(XmlDocumentTest, LoadTellsParsedFromNotWellFormedAndForgetsTheEarlierDocument) {
  const std::pair<std::string, XmlResult> cases[] = {
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a>x</a>", XmlResult::kOk},
      {std::string("\xFF\xFE<\0a\0/\0>\0", 10), XmlResult::kOk},  // UTF-16 with a BOM
      {"", XmlResult::kFalse},
      {"<a/><b/>", XmlResult::kFalse}};
  for (const auto& [text, expected] : cases) {
    XmlDocument document;
    ASSERT_EQ(document.Load("<rss/>"), XmlResult::kOk);
    EXPECT_EQ(document.Load(text), expected) << text;
    EXPECT_TRUE(document.SelectSingle(document.Root(), "rss").IsNull()) << text;
  }
}

// Names and texts of every node below `node` other than text nodes, in order.
static std::string Outline(const XmlDocument& document, XmlDocument::Node node) {
  std::string outline = document.NodeName(node) + "=" + document.Text(node) + "(";
  for (XmlDocument::Node child : document.Children(node))
    if (document.NodeName(child) != "#text") outline += Outline(document, child);
  return outline + ")";
}

TEST(XmlDocumentTest, NodesKeepOrderKindAndAllDescendantTextInBothStorages) {
  const char kText[] =
      "<r>lead<t a='1 &amp; 2'>a<!--n--></t>x<u>&lt;&#233;<![CDATA[<z>&amp;]]><?pi y?></u></r>";
  const char kOutline[] =
      "#document=leadax<\xC3\xA9<z>&amp;(r=leadax<\xC3\xA9<z>&amp;(t=a(#comment=())"
      "u=<\xC3\xA9<z>&amp;(#cdata-section=<z>&amp;()pi=())))";
  for (XmlTextStorage storage : {XmlTextStorage::kNodes, XmlTextStorage::kInElements}) {
    XmlDocument document;
    ASSERT_EQ(document.Load(kText, storage), XmlResult::kOk);
    EXPECT_EQ(Outline(document, document.Root()), kOutline);
    EXPECT_EQ(document.Text(document.SelectSingle(document.Root(), "r/u")), "<\xC3\xA9<z>&amp;");
    const XmlDocument::Node t = document.SelectSingle(document.Root(), "r/t");
    EXPECT_EQ(document.Attribute(t, "a"), "1 & 2");
    EXPECT_EQ(document.Attribute(t, "b") + document.Attribute(XmlDocument::Node(), "a"), "");
  }
}
