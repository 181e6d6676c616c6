#include "platform/install_properties.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.'; }

}  // namespace

Status ParseInstallProperties(const std::string& text, InstallProperties* properties) {
  InstallProperties parsed;
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i == n) break;

    const size_t name_start = i;
    if (!IsNameStart(text[i])) {
      return Status::Error("property name expected at position " + std::to_string(i + 1));
    }
    while (i < n && IsNameChar(text[i])) ++i;
    std::string name = text.substr(name_start, i - name_start);
    if (i == n || text[i] != '=') {
      return Status::Error("\"=\" expected after property name " + name);
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
        return Status::Error("the quoted value of " + name + " is not closed");
      }
      if (i < n && !IsBlank(text[i])) {
        return Status::Error("space expected after the quoted value of " + name);
      }
    } else {
      while (i < n && !IsBlank(text[i])) {
        if (text[i] == '"') {
          return Status::Error("unexpected quote in the value of " + name);
        }
        value += text[i++];
      }
    }
    parsed[name] = value;
  }
  *properties = std::move(parsed);
  return Status::Ok();
}
