#include "platform/reg_file.h"

#include <gtest/gtest.h>

const char kRoot[] = "HKEY_CURRENT_USER";

TEST(RegFileTest, ReadsAHandEditedFileAndWritesTheRegistryEditorsFormat) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n; written by hand\r\n"
      "[HKEY_CURRENT_USER\\Software\\Morvend\\calvaro-upgrade\\Options]\r\n"
      "\"StartMessage\"=\"Say \\\"hi\\\" to C:\\\\Temp and C:\\Data\"  \r\n"
      "@=\"default\"\r\n"
      "  \"RunCount\" = dword:0000000A\r\n"
      "\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"
      "\"RUNCOUNT\"=dword:FFFFFFFF\r\n"
      "[hkey_current_user\\\\SOFTWARE\\Empty\\]\r\n";
  RegTree tree;
  Status parsed = ParseRegFile(text, kRoot, &tree);
  ASSERT_TRUE(parsed.ok()) << parsed.message();
  RegValues& options = tree["Software\\Morvend\\calvaro-upgrade\\Options"];
  EXPECT_EQ(options["StartMessage"], RegValue::String("Say \"hi\" to C:\\Temp and C:\\Data"));
  EXPECT_EQ(options["runcount"], RegValue::Dword(0xFFFFFFFF));
  EXPECT_EQ(FormatRegFile(tree, kRoot),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Empty]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Morvend\\calvaro-upgrade\\Options]\n"
            "@=\"default\"\n"
            "\"Blob\"=hex:01,02,\\\n  03,04\n"
            "\"RunCount\"=dword:ffffffff\n"
            "\"StartMessage\"=\"Say \\\"hi\\\" to C:\\\\Temp and C:\\\\Data\"\n");
}

// A file that lost its tail mid-line is never taken for a shorter good one.
TEST(RegFileTest, EveryCutInsideALineIsDetected) {
  RegTree tree;
  tree["Software\\Morvend\\app\\Runtime"]["RunCount"] = RegValue::Dword(0x1234);
  tree["Software\\Morvend\\app\\Runtime"]["LastRunTime"] = RegValue::String("Monday \"x\"");
  const std::string text = FormatRegFile(tree, kRoot);
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    RegTree read;
    bool line_end = cut > 0 && (cut == text.size() || text[cut] == '\n' || text[cut - 1] == '\n');
    EXPECT_EQ(ParseRegFile(text.substr(0, cut), kRoot, &read).ok(), line_end) << cut;
  }
}
