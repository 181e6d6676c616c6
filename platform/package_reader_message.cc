#include "platform/package_reader_message.h"

#include <charconv>

namespace {

using Kind = PackageReaderMessage::Kind;

// The result's fields before the contents: code and message.
constexpr size_t kResultFields = 2;
// The contents' fields before the files: code, name, version, upgrade code, folder.
constexpr size_t kContentsFields = 5;

// Reads a number in the one form the reader writes (std::to_string's), so that
// whatever decodes encodes back to the same bytes.
template <typename Number>
bool ParseNumber(const std::string& text, Number* number) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, *number);
  return error == std::errc() && stop == end && std::to_string(*number) == text;
}

}  // namespace

ChildMessage EncodePackageReaderMessage(const PackageReaderMessage& message) {
  ChildMessage encoded;
  encoded.type = static_cast<char>(message.kind);
  std::vector<std::string>& fields = encoded.fields;
  switch (message.kind) {
    case Kind::kStaging:
      fields = {message.staging};
      break;
    case Kind::kProgress:
      fields = {std::to_string(message.done), std::to_string(message.total)};
      break;
    case Kind::kResult: {
      fields = {std::to_string(message.result.code()), message.result.message()};
      if (!message.result.ok()) break;
      const PackageContents& contents = message.contents;
      fields.insert(fields.end(), {contents.product_code, contents.name, contents.version,
                                   contents.upgrade_code, contents.install_folder});
      for (const StagedFile& file : contents.files) {
        fields.push_back(file.staged);
        fields.push_back(file.destination);
        fields.push_back(file.root);
      }
      break;
    }
  }
  return encoded;
}

bool DecodePackageReaderMessage(const ChildMessage& message, PackageReaderMessage* decoded) {
  const std::vector<std::string>& fields = message.fields;
  PackageReaderMessage result;
  result.kind = static_cast<Kind>(message.type);
  switch (result.kind) {
    case Kind::kStaging:
      if (fields.size() != 1) return false;
      result.staging = fields[0];
      break;
    case Kind::kProgress:
      if (fields.size() != 2 || !ParseNumber(fields[0], &result.done) ||
          !ParseNumber(fields[1], &result.total))
        return false;
      break;
    case Kind::kResult: {
      long code = 0;
      if (fields.size() < kResultFields || !ParseNumber(fields[0], &code)) return false;
      if (code != 0) {
        if (fields.size() != kResultFields) return false;
        result.result = Status::Error(fields[1], code);
        break;
      }
      const size_t files_at = kResultFields + kContentsFields;
      if (!fields[1].empty() || fields.size() < files_at || (fields.size() - files_at) % 3 != 0)
        return false;
      PackageContents& contents = result.contents;
      contents.product_code = fields[2];
      contents.name = fields[3];
      contents.version = fields[4];
      contents.upgrade_code = fields[5];
      contents.install_folder = fields[6];
      for (size_t i = files_at; i < fields.size(); i += 3)
        contents.files.push_back({fields[i], fields[i + 1], fields[i + 2]});
      break;
    }
    default:
      return false;
  }
  *decoded = std::move(result);
  return true;
}
