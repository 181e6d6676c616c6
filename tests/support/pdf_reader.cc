#include "tests/support/pdf_reader.h"

#include <cJSON.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>

namespace {

std::string Quote(const std::string& text) {
  return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
}

// Runs `command` through the shell and collects its standard output.
bool Run(const std::string& command, std::string* output) {
  output->clear();
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  char buffer[65536];
  for (size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output->append(buffer, n);
  return pipe != nullptr && pclose(pipe) == 0;
}

double Attribute(const std::string& tag, const std::string& name) {
  const size_t at = tag.find(" " + name + "=\"");
  return at == std::string::npos ? 0 : strtod(tag.c_str() + at + name.size() + 3, nullptr);
}

std::vector<PdfBookmark> ReadBookmarks(const cJSON* list) {
  std::vector<PdfBookmark> result;
  const cJSON* item;
  cJSON_ArrayForEach(item, list) {
    PdfBookmark bookmark;
    if (const cJSON* title = cJSON_GetObjectItem(item, "title"); cJSON_IsString(title))
      bookmark.title = title->valuestring;
    if (const cJSON* page = cJSON_GetObjectItem(item, "destpageposfrom1"); cJSON_IsNumber(page))
      bookmark.page = page->valueint;
    bookmark.kids = ReadBookmarks(cJSON_GetObjectItem(item, "kids"));
    result.push_back(std::move(bookmark));
  }
  return result;
}

std::string Pages(int page) {
  return " -f " + std::to_string(page) + " -l " + std::to_string(page) + " ";
}

}  // namespace

std::vector<PdfPageBox> ReadPdfPageBoxes(const std::string& path) {
  std::string output;
  if (!Run("pdfinfo -f 1 -l 100000 " + Quote(path), &output)) return {};
  std::vector<PdfPageBox> boxes;
  std::istringstream lines(output);
  int page;
  PdfPageBox box;
  for (std::string line; std::getline(lines, line);)
    if (sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &box.width, &box.height) == 3)
      boxes.push_back(box);
  return boxes;
}

std::vector<PdfWord> ReadPdfWords(const std::string& path) {
  std::string output;
  if (!Run("pdftotext -bbox " + Quote(path) + " -", &output)) return {};
  std::vector<PdfWord> words;
  int page = 0;
  double height = 0;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("<page ") != std::string::npos) {
      ++page;
      height = Attribute(line, "height");
    }
    const size_t open = line.find("<word "), end = line.find("</word>");
    if (open == std::string::npos || end == std::string::npos) continue;
    const size_t start = line.find('>', open) + 1;
    words.push_back({page, Attribute(line, "xMin"), Attribute(line, "xMax"),
                     height - Attribute(line, "yMax"), height - Attribute(line, "yMin"),
                     line.substr(start, end - start)});
  }
  return words;
}

bool PdfStructureIsSound(const std::string& path) {
  std::string output;
  if (!Run("qpdf --check " + Quote(path), &output)) return false;
  return output.find("No syntax or stream encoding errors found") != std::string::npos;
}

std::vector<PdfBookmark> ReadPdfOutline(const std::string& path) {
  std::string output;
  if (!Run("qpdf --json --json-key=outlines " + Quote(path), &output)) return {};
  cJSON* root = cJSON_Parse(output.c_str());
  std::vector<PdfBookmark> outline = ReadBookmarks(cJSON_GetObjectItem(root, "outlines"));
  cJSON_Delete(root);
  return outline;
}

int PdfRaster::GreyAt(double x, double y) const {
  const int column = static_cast<int>(x * dpi / 72);
  const int row = height - 1 - static_cast<int>(y * dpi / 72);
  if (column < 0 || column >= width || row < 0 || row >= height) return -1;
  return grey[static_cast<size_t>(row) * width + column];
}

PdfRaster RenderPdfPageGrey(const std::string& path, int page, int dpi) {
  std::string image;
  if (!Run("pdftoppm -gray -r " + std::to_string(dpi) + Pages(page) + Quote(path), &image))
    return {};
  // A binary PGM: "P5", width, height, maximum value, one blank, then the pixels.
  PdfRaster raster;
  int maximum = 0, consumed = 0;
  if (sscanf(image.c_str(), "P5 %d %d %d%n", &raster.width, &raster.height, &maximum,
             &consumed) != 3 ||
      maximum != 255 || image.size() < consumed + 1 + size_t{1} * raster.width * raster.height)
    return {};
  raster.dpi = dpi;
  raster.grey.assign(image.begin() + consumed + 1, image.end());
  return raster;
}

std::string DecodePdfQrCode(const std::string& path, int page) {
  const std::string png = path + ".page" + std::to_string(page);
  std::string output, decoded;
  // Only the top 1.5 inches of the page: the code stands there, and a whole page
  // at this resolution takes seconds to render.
  if (Run("pdftoppm -png -singlefile -r 300 -x 0 -y 0 -W 10000 -H 450" + Pages(page) +
              Quote(path) + " " + Quote(png),
          &output) &&
      Run("zbarimg --quiet --raw -Sdisable -Sqrcode.enable -Sqrcode.binary " + Quote(png + ".png"),
          &decoded) &&
      !decoded.empty() && decoded.back() == '\n')
    decoded.pop_back();
  remove((png + ".png").c_str());
  return decoded;
}

std::vector<PdfWord> FindPdfWords(const std::vector<PdfWord>& words, int page,
                                  const std::string& text) {
  std::vector<PdfWord> found;
  std::copy_if(words.begin(), words.end(), std::back_inserter(found),
               [&](const PdfWord& word) { return word.page == page && word.text == text; });
  std::sort(found.begin(), found.end(), [](const PdfWord& a,
      const PdfWord& b) { return a.top > b.top; });
  return found;
}
