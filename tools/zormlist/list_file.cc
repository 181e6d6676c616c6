#include "tools/zormlist/list_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "util/utf8.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The next line of `text` from *at, without its LF or CR LF; advances *at past it.
std::string_view NextLine(std::string_view text, size_t* at) {
  const size_t start = *at;
  const size_t end = text.find('\n', start);
  size_t stop = end == std::string_view::npos ? text.size() : end;
  *at = end == std::string_view::npos ? text.size() : end + 1;
  if (stop > start && text[stop - 1] == '\r') --stop;
  return text.substr(start, stop - start);
}

bool IsUtf8(std::string_view line) {
  size_t at = 0;
  while (at < line.size()) {
    // Plain ASCII needs no decoding; most files are mostly that.
    if (static_cast<unsigned char>(line[at]) < 0x80) {
      ++at;
    } else if (DecodeUtf8(line, &at) == kUtf8Invalid) {
      return false;
    }
  }
  return true;
}

size_t CountFields(std::string_view line) {
  size_t count = 1;
  for (char c : line) count += c == '|';
  return count;
}

void SplitFields(std::string_view line, std::vector<std::string>* cells) {
  size_t start = 0;
  for (;;) {
    const size_t bar = line.find('|', start);
    if (bar == std::string_view::npos) break;
    cells->emplace_back(line.substr(start, bar - start));
    start = bar + 1;
  }
  cells->emplace_back(line.substr(start));
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string LineOf(size_t number, const std::string& name) {
  return "Line " + std::to_string(number) + " of " + Quoted(name);
}

}  // namespace

Status ParseListFile(std::string_view text, const std::string& name, ListFile* file) {
  *file = ListFile();
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  size_t at = 0;
  const std::string_view header = NextLine(text, &at);
  if (header.empty()) {
    return Status::Error("The file " + Quoted(name) +
                         " has no header line: its first line must name the columns.");
  }
  if (!IsUtf8(header)) return Status::Error(LineOf(1, name) + " is not UTF-8 text.");
  ListFile parsed;
  SplitFields(header, &parsed.columns);
  const size_t width = parsed.columns.size();
  for (size_t number = 2; at < text.size(); ++number) {
    const std::string_view line = NextLine(text, &at);
    if (line.empty()) continue;
    if (!IsUtf8(line)) return Status::Error(LineOf(number, name) + " is not UTF-8 text.");
    const size_t fields = CountFields(line);
    if (fields > width) {
      return Status::Error(LineOf(number, name) + " has " + std::to_string(fields) +
                           " fields, more than the " + std::to_string(width) +
                           " columns of the header.");
    }
    std::vector<std::string>& cells = parsed.rows.emplace_back();
    cells.reserve(width);
    SplitFields(line, &cells);
    cells.resize(width);
  }
  *file = std::move(parsed);
  return Status::Ok();
}

Status ReadListFile(const std::string& path, ListFile* file) {
  *file = ListFile();
  auto failure = [&path](const char* what, int error) {
    return Status::Error(std::string(what) + " the file " + Quoted(path) + ": " +
                         strerror(error) + ".");
  };
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return failure("Cannot open", errno);
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;  // a folder fails here, with EISDIR
      close(fd);
      return failure("Cannot read", error);
    }
    if (got == 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return ParseListFile(text, path, file);
}
