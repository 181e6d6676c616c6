// CZORMStringArray: strings in the order they were added, with a count of how often
// each was added; in unique mode a string already present is not added again. The
// list's column copy collects a column here and puts it on the clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class wxWindow;

class CZORMStringArray {
 public:
  explicit CZORMStringArray(int unique = 0) : m_bUnique(unique) {}

  // Appends `text` and returns its index; in unique mode a string added before is
  // not appended and 0 is returned.
  int64_t Add(const std::string& text);

  size_t GetSize() const { return m_strings.size(); }
  const std::string& GetAt(size_t index) const { return m_strings[index]; }
  // How many times `text` was added (0 when never).
  size_t GetCount(const std::string& text) const;

  // Every string followed by CR LF (the last one too), as one text.
  std::string JoinedLines() const;

  // Puts JoinedLines on the clipboard as plain text. When the clipboard cannot be
  // opened nothing is copied and nothing is said. `owner` may be null.
  void CopyToClipboard(wxWindow* owner) const;

 private:
  int m_bUnique;
  std::vector<std::string> m_strings;
  std::unordered_map<std::string, size_t> m_counts;
};
