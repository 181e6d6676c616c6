#include "platform/install_properties.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.'; }

}  // namespace

bool ParseInstallProperties(const std::string& text, InstallProperties* properties,
                            std::string* error) {
  InstallProperties parsed;
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i == n) break;

    const size_t name_start = i;
    if (!IsNameStart(text[i])) {
      *error = "property name expected at position " + std::to_string(i + 1);
      return false;
    }
    while (i < n && IsNameChar(text[i])) ++i;
    std::string name = text.substr(name_start, i - name_start);
    if (i == n || text[i] != '=') {
      *error = "\"=\" expected after property name " + name;
      return false;
    }
    ++i;

    std::string value;
    if (i < n && text[i] == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {  // a doubled quote stands for one
            value += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        value += text[i++];
      }
      if (!closed) {
        *error = "the quoted value of " + name + " is not closed";
        return false;
      }
      if (i < n && !IsBlank(text[i])) {
        *error = "space expected after the quoted value of " + name;
        return false;
      }
    } else {
      while (i < n && !IsBlank(text[i])) {
        if (text[i] == '"') {
          *error = "unexpected quote in the value of " + name;
          return false;
        }
        value += text[i++];
      }
    }
    parsed[name] = value;
  }
  *properties = std::move(parsed);
  return true;
}
