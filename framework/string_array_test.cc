#include "framework/string_array.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>

// a, b, a go through Add and on to the X server's real clipboard, read back here;
// a clipboard that someone holds open is left alone.
TEST(CZORMStringArrayTest, AddsCountsAndCopiesEachStringWithCrLf) {
  const std::tuple<int, bool, const char*, const char*> kCases[] = {
      // unique, clipboard held open, what Add returned and the count of a, clipboard
      {0, false, "0 1 2 / 2", "a\r\nb\r\na\r\n"},
      {1, false, "0 1 0 / 1", "a\r\nb\r\n"},
      {0, true, "0 1 2 / 2", "before"},
  };
  for (const auto& [unique, held_open, added, clipboard] : kCases) {
    SCOPED_TRACE(clipboard);
    CZORMStringArray array(unique);
    std::string got;
    for (const char* text : {"a", "b", "a"}) got += std::to_string(array.Add(text)) + " ";
    EXPECT_EQ(added, got + "/ " + std::to_string(array.GetCount("a")));
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject("before"));
    if (!held_open) wxTheClipboard->Close();
    array.CopyToClipboard(nullptr);
    wxTextDataObject data;
    EXPECT_TRUE((held_open || wxTheClipboard->Open()) && wxTheClipboard->GetData(data));
    EXPECT_EQ(clipboard, data.GetText().utf8_string());
    wxTheClipboard->Close();
  }
}
