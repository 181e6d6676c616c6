#include "platform/reg_file.h"

#include <gtest/gtest.h>

namespace {

const char kRoot[] = "HKEY_CURRENT_USER";

TEST(RegFileTest, ReadsAHandEditedFile) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; written by hand\r\n"
      "[HKEY_CURRENT_USER\\Software\\Morvend\\calvaro-upgrade\\Options]\r\n"
      "\"StartMessage\"=\"Say \\\"hi\\\" to C:\\\\Temp and C:\\Data\"  \r\n"
      "@=\"default\"\r\n"
      "\"Two lines\"=\"first\nsecond\"\r\n"
      "  \"RunCount\" = dword:0000000A\r\n"
      "\"Blob\"=hex:01,02,\\\r\n"
      "  03,04\r\n"
      "\"RunCount\"=dword:FFFFFFFF\r\n"
      "[hkey_current_user\\\\Software\\Empty\\]\r\n";
  RegTree tree;
  std::string error;
  ASSERT_TRUE(ParseRegFile(text, kRoot, &tree, &error)) << error;

  RegTree expected;
  RegValues& options = expected["Software\\Morvend\\calvaro-upgrade\\Options"];
  options["StartMessage"] = RegValue::String("Say \"hi\" to C:\\Temp and C:\\Data");
  options[""] = RegValue::String("default");
  options["Two lines"] = RegValue::String("first\nsecond");
  options["RunCount"] = RegValue::Dword(0xFFFFFFFF);
  options["Blob"] = {RegValue::Type::kOther, "hex:01,02,\\\n  03,04", 0};
  expected["Software\\Empty"];
  EXPECT_EQ(tree, expected);
}

TEST(RegFileTest, WritesTheRegistryEditorsFormat) {
  RegTree tree;
  tree["Software\\Morvend\\app\\Runtime"]["RunCount"] = RegValue::Dword(10);
  tree["Software\\Morvend\\app\\Runtime"]["GUID"] = RegValue::String("A\\B \"C\"");
  tree["Software\\Morvend\\app\\Runtime"][""] = RegValue::String("");
  tree["Software\\Morvend"];
  const std::string expected =
      "Windows Registry Editor Version 5.00\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Morvend]\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Morvend\\app\\Runtime]\n"
      "@=\"\"\n"
      "\"GUID\"=\"A\\\\B \\\"C\\\"\"\n"
      "\"RunCount\"=dword:0000000a\n";
  EXPECT_EQ(FormatRegFile(tree, kRoot), expected);
  RegTree back;
  ASSERT_TRUE(ParseRegFile(expected, kRoot, &back, nullptr));
  EXPECT_EQ(back, tree);
}

TEST(RegFileTest, RejectsDamagedText) {
  const std::string header = "Windows Registry Editor Version 5.00\n";
  const std::string key = "[HKEY_CURRENT_USER\\Software]\n";
  const struct {
    std::string text;
    const char* reason;
  } cases[] = {
      {"", "not a registry file"},
      {"REGEDIT4\n", "not a registry file"},
      {header + "\"a\"=dword:00000001\n", "value before the first key"},
      {header + "[HKEY_LOCAL_MACHINE\\Software]\n", "key of another root"},
      {header + "[HKEY_CURRENT_USER\\Software\n", "closing bracket"},
      {header + "[-HKEY_CURRENT_USER\\Software]\n", "key deletions"},
      {header + key + "\"a", "name without its closing quote"},
      {header + key + "\"a\"=-\n", "unknown kind"},
      {header + key + "\"a\"=dword:0000\n", "eight hexadecimal"},
      {header + key + "\"a\"=\"b\" x\n", "text after a string"},
      {header + key + "junk\n", "neither a key nor a value"},
  };
  for (const auto& c : cases) {
    RegTree tree;
    tree["left over"];
    std::string error;
    EXPECT_FALSE(ParseRegFile(c.text, kRoot, &tree, &error)) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " -> " << error;
    EXPECT_TRUE(tree.empty()) << c.text;
  }
}

// A file cut at any byte reads only when the cut falls at the end of a line, so
// a file that lost its tail mid-line is never taken for a shorter good one.
TEST(RegFileTest, EveryCutInsideALineIsDetected) {
  RegTree tree;
  tree["Software\\Morvend\\app\\Runtime"]["RunCount"] = RegValue::Dword(0x1234);
  tree["Software\\Morvend\\app\\Runtime"]["LastRunTime"] = RegValue::String("Monday \"x\"");
  tree["Software\\Morvend\\app\\Options"]["StartMessage"] = RegValue::String("");
  tree["Software\\Morvend\\app\\Options"][""] = RegValue::Dword(7);
  const std::string text = FormatRegFile(tree, kRoot);
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    RegTree read;
    bool line_complete = cut > 0 && (cut == text.size() || text[cut] == '\n' || text[cut - 1] == '\n');
    EXPECT_EQ(ParseRegFile(text.substr(0, cut), kRoot, &read, nullptr), line_complete)
        << text.substr(0, cut);
  }
}

TEST(RegFileTest, KeyQueriesFollowThePathStructure) {
  RegTree tree;
  tree["Software\\Morvend\\Installer\\Products\\{A}"];
  tree["Software\\Morvend\\Installer\\Products\\{b}\\Files"];
  tree["Software\\Morvend\\Installer\\Products2"];
  tree["Software\\Morvend\\app"];

  EXPECT_TRUE(RegKeyExists(tree, ""));
  EXPECT_TRUE(RegKeyExists(tree, "Software"));
  EXPECT_TRUE(RegKeyExists(tree, "\\software\\\\MORVEND\\"));
  EXPECT_TRUE(RegKeyExists(tree, "Software\\Morvend\\Installer\\Products\\{B}"));
  EXPECT_FALSE(RegKeyExists(tree, "Software\\Morv"));
  EXPECT_FALSE(RegKeyExists(tree, "Software\\Morvend\\Installer\\Products\\{C}"));

  EXPECT_EQ(RegChildKeyNames(tree, "Software\\Morvend\\Installer\\Products"),
            (std::vector<std::string>{"{A}", "{b}"}));
  EXPECT_EQ(RegChildKeyNames(tree, "Software\\Morvend"),
            (std::vector<std::string>{"app", "Installer"}));
  EXPECT_EQ(RegChildKeyNames(tree, ""), (std::vector<std::string>{"Software"}));
  EXPECT_TRUE(RegChildKeyNames(tree, "Software\\Morvend\\app").empty());

  RegEraseKeyTree(&tree, "software\\morvend\\installer\\products");
  EXPECT_EQ(RegChildKeyNames(tree, "Software\\Morvend\\Installer"),
            (std::vector<std::string>{"Products2"}));
  EXPECT_TRUE(RegKeyExists(tree, "Software\\Morvend\\app"));
  EXPECT_EQ(NormaliseKeyPath("\\\\a\\\\b\\"), "a\\b");
}

}  // namespace
