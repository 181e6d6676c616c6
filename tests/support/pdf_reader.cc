#include "tests/support/pdf_reader.h"

#include <cJSON.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

// Runs `command` through the shell and collects its standard output; standard
// error goes to `error` together with the exit status when the command fails.
bool RunCommand(const std::string& command, std::string* output, std::string* error) {
  output->clear();
  const std::string errors_path = std::string(P_tmpdir) + "/zorm-pdf-reader-XXXXXX";
  std::string errors_file = errors_path;
  const int fd = mkstemp(errors_file.data());
  if (fd >= 0) close(fd);
  FILE* pipe = popen((command + " 2>" + ShellQuote(errors_file)).c_str(), "r");
  if (pipe == nullptr) {
    if (error) *error = "cannot run: " + command;
    return false;
  }
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output->append(buffer, n);
  const int status = pclose(pipe);
  std::string errors;
  if (FILE* f = fopen(errors_file.c_str(), "rb")) {
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) errors.append(buffer, n);
    fclose(f);
  }
  remove(errors_file.c_str());
  if (status != 0) {
    if (error) *error = command + " failed (" + std::to_string(status) + "): " + errors + *output;
    return false;
  }
  return true;
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

// The value of the XML attribute `name` in `tag`, as a number.
double AttributeNumber(const std::string& tag, const std::string& name) {
  const size_t at = tag.find(" " + name + "=\"");
  if (at == std::string::npos) return 0;
  return strtod(tag.c_str() + at + name.size() + 3, nullptr);
}

std::string UnescapeXml(const std::string& text) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string result;
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const auto& [entity, c] : kEntities) {
        if (text.compare(i, strlen(entity), entity) == 0) {
          result += c;
          i += strlen(entity);
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) result += text[i++];
  }
  return result;
}

std::vector<PdfBookmark> ReadBookmarks(const cJSON* list) {
  std::vector<PdfBookmark> result;
  const cJSON* item;
  cJSON_ArrayForEach(item, list) {
    PdfBookmark bookmark;
    const cJSON* title = cJSON_GetObjectItemCaseSensitive(item, "title");
    if (cJSON_IsString(title)) bookmark.title = title->valuestring;
    const cJSON* page = cJSON_GetObjectItemCaseSensitive(item, "destpageposfrom1");
    if (cJSON_IsNumber(page)) bookmark.page = page->valueint;
    bookmark.kids = ReadBookmarks(cJSON_GetObjectItemCaseSensitive(item, "kids"));
    result.push_back(std::move(bookmark));
  }
  return result;
}

}  // namespace

std::vector<PdfPageBox> ReadPdfPageBoxes(const std::string& path, std::string* error) {
  std::string output;
  // -l with a large number makes pdfinfo list every page.
  if (!RunCommand("pdfinfo -f 1 -l 100000 " + ShellQuote(path), &output, error)) return {};
  std::vector<PdfPageBox> boxes;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    int page;
    PdfPageBox box;
    if (sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &box.width, &box.height) == 3)
      boxes.push_back(box);
  }
  return boxes;
}

std::vector<PdfWord> ReadPdfWords(const std::string& path, std::string* error) {
  std::string output;
  if (!RunCommand("pdftotext -bbox " + ShellQuote(path) + " -", &output, error)) return {};
  std::vector<PdfWord> words;
  int page = 0;
  double height = 0;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.find("<page ") != std::string::npos) {
      ++page;
      height = AttributeNumber(line, "height");
      continue;
    }
    const size_t open = line.find("<word ");
    if (open == std::string::npos) continue;
    const size_t text_start = line.find('>', open) + 1;
    const size_t text_end = line.find("</word>", text_start);
    if (text_start == 0 || text_end == std::string::npos) continue;
    PdfWord word;
    word.page = page;
    word.left = AttributeNumber(line, "xMin");
    word.right = AttributeNumber(line, "xMax");
    word.top = height - AttributeNumber(line, "yMin");
    word.bottom = height - AttributeNumber(line, "yMax");
    word.text = UnescapeXml(line.substr(text_start, text_end - text_start));
    words.push_back(std::move(word));
  }
  return words;
}

std::string ReadPdfPageText(const std::string& path, int page, std::string* error) {
  std::string output;
  const std::string number = std::to_string(page);
  RunCommand(
      "pdftotext -layout -enc UTF-8 -f " + number + " -l " + number + " " + ShellQuote(path) + " -",
      &output, error);
  return output;
}

bool PdfStructureIsSound(const std::string& path, std::string* error) {
  std::string output;
  if (!RunCommand("qpdf --check " + ShellQuote(path), &output, error)) return false;
  if (output.find("No syntax or stream encoding errors found") == std::string::npos) {
    SetError(error, output);
    return false;
  }
  return true;
}

std::vector<PdfBookmark> ReadPdfOutline(const std::string& path, std::string* error) {
  std::string output;
  if (!RunCommand("qpdf --json --json-key=outlines " + ShellQuote(path), &output, error)) return {};
  cJSON* root = cJSON_Parse(output.c_str());
  if (root == nullptr) {
    SetError(error, "qpdf printed no JSON: " + output);
    return {};
  }
  std::vector<PdfBookmark> outline =
      ReadBookmarks(cJSON_GetObjectItemCaseSensitive(root, "outlines"));
  cJSON_Delete(root);
  return outline;
}

bool RenderPdfPage(const std::string& path, int page, int dpi, const std::string& png_path,
                   std::string* error) {
  std::string prefix = png_path;
  if (prefix.size() > 4 && prefix.compare(prefix.size() - 4, 4, ".png") == 0)
    prefix.resize(prefix.size() - 4);
  const std::string number = std::to_string(page);
  std::string output;
  return RunCommand("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + number +
                        " -l " + number + " " + ShellQuote(path) + " " + ShellQuote(prefix),
                    &output, error);
}

int PdfRaster::GreyAt(double x, double y) const {
  const int column = static_cast<int>(x * dpi / 72);
  const int row = height - 1 - static_cast<int>(y * dpi / 72);
  if (column < 0 || column >= width || row < 0 || row >= height) return -1;
  return grey[static_cast<size_t>(row) * width + column];
}

PdfRaster RenderPdfPageGrey(const std::string& path, int page, int dpi, std::string* error) {
  const std::string number = std::to_string(page);
  std::string image;
  if (!RunCommand("pdftoppm -gray -r " + std::to_string(dpi) + " -f " + number + " -l " + number +
                      " " + ShellQuote(path),
                  &image, error))
    return {};
  // A binary PGM: "P5", width, height, maximum value, one blank, then the pixels.
  PdfRaster raster;
  int maximum = 0, consumed = 0;
  if (sscanf(image.c_str(), "P5 %d %d %d%n", &raster.width, &raster.height, &maximum, &consumed) !=
          3 ||
      maximum != 255) {
    SetError(error, "pdftoppm printed no grey image");
    return {};
  }
  const size_t start = static_cast<size_t>(consumed) + 1;
  const size_t size = static_cast<size_t>(raster.width) * raster.height;
  if (image.size() < start + size) {
    SetError(error, "pdftoppm printed a short image");
    return {};
  }
  raster.dpi = dpi;
  raster.grey.assign(image.begin() + start, image.begin() + start + size);
  return raster;
}

std::string DecodeMirroredQrCode(const std::string& path, int page, std::string* error) {
  const std::string png = path + ".page" + std::to_string(page) + ".png";
  const std::string mirrored = path + ".page" + std::to_string(page) + "-mirrored.png";
  std::string output;
  std::string decoded;
  const std::string number = std::to_string(page);
  // Only the top 1.5 inches of the page: the code stands there, and a whole page
  // at this resolution takes seconds to render.
  if (RunCommand("pdftoppm -png -singlefile -r 300 -x 0 -y 0 -W 10000 -H 450 -f " + number +
                     " -l " + number + " " + ShellQuote(path) + " " +
                     ShellQuote(png.substr(0, png.size() - 4)),
                 &output, error) &&
      RunCommand("/usr/bin/python3 -c 'import sys; from PIL import Image, ImageOps; "
                 "ImageOps.mirror(Image.open(sys.argv[1])).save(sys.argv[2])' " +
                     ShellQuote(png) + " " + ShellQuote(mirrored),
                 &output, error) &&
      RunCommand(
          "zbarimg --quiet --raw -Sdisable -Sqrcode.enable -Sqrcode.binary " + ShellQuote(mirrored),
          &decoded, error)) {
    if (!decoded.empty() && decoded.back() == '\n') decoded.pop_back();
  }
  remove(png.c_str());
  remove(mirrored.c_str());
  return decoded;
}

std::vector<PdfWord> FindPdfWords(const std::vector<PdfWord>& words, int page,
                                  const std::string& text) {
  std::vector<PdfWord> found;
  for (const PdfWord& word : words) {
    if (word.page == page && word.text == text) found.push_back(word);
  }
  std::sort(found.begin(), found.end(),
            [](const PdfWord& a, const PdfWord& b) { return a.top > b.top; });
  return found;
}
