#include "framework/string_array.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include <vector>

namespace {

std::string ClipboardText() {
  wxTextDataObject data;
  const bool opened = wxTheClipboard->IsOpened() || wxTheClipboard->Open();
  const bool read = opened && wxTheClipboard->GetData(data);
  return read ? data.GetText().utf8_string() : "<nothing>";
}

}  // namespace

// The strings a, b, a go through Add and then to the real clipboard of the X server,
// which is read back here; a clipboard held open by someone else is left alone.
TEST(CZORMStringArrayTest, AddsCountsAndCopiesEachStringWithCrLf) {
  struct Case {
    int unique;
    bool held_open;
    std::vector<int64_t> indexes;
    const char* clipboard;
    size_t count_of_a;
  };
  const Case kCases[] = {
      {0, false, {0, 1, 2}, "a\r\nb\r\na\r\n", 2},
      {1, false, {0, 1, 0}, "a\r\nb\r\n", 1},
      {0, true, {0, 1, 2}, "before", 2},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.clipboard);
    CZORMStringArray array(c.unique);
    std::vector<int64_t> indexes;
    for (const char* text : {"a", "b", "a"}) indexes.push_back(array.Add(text));
    EXPECT_EQ(c.indexes, indexes);
    EXPECT_EQ(c.count_of_a, array.GetCount("a"));
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject("before"));
    if (!c.held_open) wxTheClipboard->Close();
    array.CopyToClipboard(nullptr);
    EXPECT_EQ(c.clipboard, ClipboardText());
    wxTheClipboard->Close();
  }
}
