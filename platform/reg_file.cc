#include "platform/reg_file.h"

#include <cstdio>
#include <ostream>
#include <set>

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A cursor over the file text that knows its line number for messages.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  int line() const { return line_; }

  // The rest of the current line without its line break; moves past the break.
  std::string_view TakeLine() {
    size_t end = text_.find('\n', pos_);
    bool has_break = end != std::string_view::npos;
    if (!has_break) end = text_.size();
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = has_break ? end + 1 : end;
    if (has_break) ++line_;
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    return line;
  }

  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }

  bool Consume(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }

  // A quoted string after its opening quote, up to the closing one; may span lines.
  bool TakeQuoted(std::string* out) {
    while (!AtEnd()) {
      char c = text_[pos_++];
      if (c == '"') return true;
      if (c == '\n') ++line_;
      if (c == '\\' && (Peek() == '\\' || Peek() == '"')) c = text_[pos_++];
      out->push_back(c);
    }
    return false;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

Status Fail(int line, const std::string& what) {
  return Status::Error("line " + std::to_string(line) + ": " + what);
}
Status Fail(const Reader& reader, const char* what) { return Fail(reader.line(), what); }

bool ParseHexDword(std::string_view digits, uint32_t* number) {
  if (digits.size() != 8) return false;
  uint32_t value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f')
      digit = LowerAscii(c) - 'a' + 10;
    else
      return false;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  *number = value;
  return true;
}

// The data of a value line after '='; false when it is cut short or unknown.
bool ParseValueData(Reader& reader, RegValue* value, std::string* what) {
  if (reader.Consume('"')) {
    value->type = RegValue::Type::kString;
    if (!reader.TakeQuoted(&value->text)) {
      *what = "string without its closing quote";
      return false;
    }
    reader.SkipBlanks();
    if (!reader.AtEnd() && reader.Peek() != '\n') {
      *what = "text after a string value";
      return false;
    }
    reader.TakeLine();
    return true;
  }
  std::string_view data = reader.TakeLine();
  if (data.size() >= 6 && EqualNoCase(data.substr(0, 6), "dword:")) {
    value->type = RegValue::Type::kDword;
    if (ParseHexDword(data.substr(6), &value->number)) return true;
    *what = "a number value needs eight hexadecimal digits";
    return false;
  }
  if (data.size() >= 3 && EqualNoCase(data.substr(0, 3), "hex")) {
    value->type = RegValue::Type::kOther;
    value->text = data;
    // Long binary values go on over lines that end in a backslash.
    while (!value->text.empty() && value->text.back() == '\\') {
      if (reader.AtEnd()) {
        *what = "binary value cut short";
        return false;
      }
      reader.SkipBlanks();
      value->text += "\n  ";
      value->text += reader.TakeLine();
    }
    return true;
  }
  *what = data.empty() ? "value without data" : "unknown kind of value";
  return false;
}

void AppendQuoted(std::string* out, std::string_view text) {
  out->push_back('"');
  for (char c : text) {
    if (c == '\\' || c == '"') out->push_back('\\');
    out->push_back(c);
  }
  out->push_back('"');
}

}  // namespace

bool RegNameLess::operator()(const std::string& a, const std::string& b) const {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(LowerAscii(a[i]));
    unsigned char y = static_cast<unsigned char>(LowerAscii(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

std::string NormaliseKeyPath(std::string_view path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out.push_back('\\');
      out.append(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return out;
}

namespace {

Status ParseInto(std::string_view text, std::string_view root_name, RegTree* tree) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Reader reader(text);
  if (reader.TakeLine() != kHeader) return Fail(reader, "not a registry file");

  RegValues* key = nullptr;
  while (!reader.AtEnd()) {
    reader.SkipBlanks();
    int line = reader.line();
    char first = reader.Peek();
    if (reader.AtEnd() || first == '\n' || first == ';') {
      reader.TakeLine();
    } else if (first == '[') {
      std::string_view header = reader.TakeLine();
      if (header.size() < 2 || header.back() != ']')
        return Fail(reader, "key line without its closing bracket");
      std::string_view full = header.substr(1, header.size() - 2);
      if (!full.empty() && full[0] == '-')
        return Fail(reader, "key deletions are not kept in a settings file");
      std::string_view root = full.substr(0, full.find('\\'));
      if (!EqualNoCase(root, root_name)) return Fail(reader, "key of another root");
      key = &(*tree)[NormaliseKeyPath(full.substr(root.size()))];
    } else if (first == '"' || first == '@') {
      if (key == nullptr) return Fail(reader, "value before the first key");
      std::string name;
      if (reader.Consume('"')) {
        if (!reader.TakeQuoted(&name)) return Fail(reader, "name without its closing quote");
      } else {
        reader.Consume('@');
      }
      reader.SkipBlanks();
      if (!reader.Consume('=')) return Fail(reader, "value name without '='");
      reader.SkipBlanks();
      RegValue value;
      std::string what;
      if (!ParseValueData(reader, &value, &what)) return Fail(line, what);
      (*key)[name] = std::move(value);
    } else {
      return Fail(reader, "line that is neither a key nor a value");
    }
  }
  return Status::Ok();
}

}  // namespace

Status ParseRegFile(std::string_view text, std::string_view root_name, RegTree* tree) {
  tree->clear();
  Status parsed = ParseInto(text, root_name, tree);
  if (!parsed.ok()) tree->clear();
  return parsed;
}

namespace {

// The data of a value line, after '='.
std::string ValueText(const RegValue& value) {
  std::string text;
  switch (value.type) {
    case RegValue::Type::kString:
      AppendQuoted(&text, value.text);
      break;
    case RegValue::Type::kDword: {
      char digits[16];
      snprintf(digits, sizeof digits, "dword:%08x", value.number);
      text = digits;
      break;
    }
    case RegValue::Type::kOther:
      text = value.text;
      break;
  }
  return text;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const RegValue& value) {
  return out << ValueText(value);
}

std::string FormatRegFile(const RegTree& tree, std::string_view root_name) {
  std::string out(kHeader);
  out += "\n";
  for (const auto& [path, values] : tree) {
    out += "\n[";
    out += root_name;
    if (!path.empty()) out += "\\" + path;
    out += "]\n";
    for (const auto& [name, value] : values) {
      if (name.empty())
        out += "@";
      else
        AppendQuoted(&out, name);
      out += "=";
      out += ValueText(value);
      out += "\n";
    }
  }
  return out;
}

namespace {

// True when `path` lies below `parent` (or is it, with `or_same`).
bool IsBelow(std::string_view path, std::string_view parent, bool or_same) {
  if (parent.empty()) return or_same || !path.empty();
  if (path.size() < parent.size() || !EqualNoCase(path.substr(0, parent.size()), parent))
    return false;
  if (path.size() == parent.size()) return or_same;
  return path[parent.size()] == '\\';
}

}  // namespace

bool RegKeyExists(const RegTree& tree, std::string_view path) {
  std::string key = NormaliseKeyPath(path);
  if (key.empty()) return true;  // the root itself
  for (auto it = tree.lower_bound(key); it != tree.end(); ++it) {
    if (IsBelow(it->first, key, true)) return true;
    if (!EqualNoCase(std::string_view(it->first).substr(0, key.size()), key)) break;
  }
  return false;
}

std::vector<std::string> RegChildKeyNames(const RegTree& tree, std::string_view path) {
  std::string parent = NormaliseKeyPath(path);
  std::set<std::string, RegNameLess> names;
  for (const auto& entry : tree) {
    if (!IsBelow(entry.first, parent, false)) continue;
    std::string_view rest =
        std::string_view(entry.first).substr(parent.empty() ? 0 : parent.size() + 1);
    names.insert(std::string(rest.substr(0, rest.find('\\'))));
  }
  return {names.begin(), names.end()};
}

void RegEraseKeyTree(RegTree* tree, std::string_view path) {
  std::string key = NormaliseKeyPath(path);
  for (auto it = tree->begin(); it != tree->end();) {
    if (IsBelow(it->first, key, true))
      it = tree->erase(it);
    else
      ++it;
  }
}
