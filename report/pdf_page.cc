#include "report/pdf_page.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "report/jpeg_header.h"
#include "report/pdf_page_packing.h"
#include "report/pdf_qr_code.h"
#include "report/pdf_state.h"
#include "report/pdf_text.h"
#include "report/time_text.h"
#include "report/win_ansi.h"

const char kPdfNoticeLine[] = "Calvaro Report Writer \xC2\xA9 2004-2026 Morvend";

namespace {

// Heights in the heading, in points below the top margin.
constexpr float kTitleBarHeight = 30;
constexpr float kTitleFontSize = 18;
constexpr float kBodyFontSize = 8;
constexpr float kHeadingLineGap = 15;  // notes, production time and heading band
constexpr float kQrCodeInset = 90;     // from the top and from the right margin

// libharu takes its page-size end marker as a size and reads past its table with
// it; every number from there on is passed as one it rejects.
HPDF_PageSizes PageSizeFor(uint32_t page_size) {
  if (page_size >= HPDF_PAGE_SIZE_EOF) return static_cast<HPDF_PageSizes>(HPDF_PAGE_SIZE_EOF + 1);
  return static_cast<HPDF_PageSizes>(page_size);
}

HPDF_PageDirection DirectionFor(uint32_t orientation) {
  return static_cast<HPDF_PageDirection>(orientation > 1 ? 2 : orientation);
}

// Loads a JPEG logo; null when it cannot be used, after the error handler's line.
HPDF_Image LoadLogo(HPDF_Doc document, const char* path) {
  // The library embeds some files that are no JPEG as broken images, or refuses
  // them without a word, so the frame header is checked first. A file that cannot
  // be opened is left to the library, which reports the system's error number.
  // Anything but a file (a FIFO, a device) is refused before an open that could
  // wait for ever.
  struct stat info;
  if (stat(path, &info) == 0 && !S_ISREG(info.st_mode)) {
    PrintPdfError(HPDF_FILE_OPEN_ERROR, 0, nullptr);
    return nullptr;
  }
  if (FILE* probe = fopen(path, "rb")) {
    fclose(probe);
    JpegFrame frame;
    if (!ReadJpegFrameOfFile(path, &frame)) {
      PrintPdfError(HPDF_INVALID_JPEG_DATA, 0, nullptr);
      return nullptr;
    }
  }
  HPDF_Image image = Hpdf().HPDF_LoadJpegImageFromFile(document, path);
  if (image == nullptr) {
    if (Hpdf().HPDF_GetError(document) == HPDF_OK)
      PrintPdfError(HPDF_INVALID_JPEG_DATA, 0, nullptr);
    // The document must stay usable for the pages.
    Hpdf().HPDF_ResetError(document);
  }
  return image;
}

// The logo is loaded once per document; a failed load leaves pages without one.
void LoadLogoOnce(Report* report, PdfState* pdf) {
  if (pdf->bits & PdfStateBit::LogoTried) return;
  PdfState* parent_pdf = PdfParentOf(report)->pdf;
  if (parent_pdf != nullptr && parent_pdf != pdf && (parent_pdf->bits & PdfStateBit::LogoTried)) {
    pdf->logo = parent_pdf->logo;
  } else if (pdf->logo_path[0] != '\0') {
    pdf->logo = LoadLogo(pdf->document, pdf->logo_path);
  }
  if (pdf->logo == nullptr) pdf->logo_width = 0;
  pdf->bits |= PdfStateBit::LogoTried;
}

float VisibleColumnWidths(const Report* report) {
  double sum = 0;
  for (uint32_t i = 0; i < report->column_count; ++i) {
    if (!(report->columns[i].flags & ReportColumnFlag::Hidden)) sum += report->columns[i].width;
  }
  return static_cast<float>(sum);
}

void DrawTitleBar(const Report* report, PdfState* pdf, HPDF_Page page, float width, float top) {
  pdf->title_bar_x = pdf->left_margin;
  pdf->title_bar_width = width - (pdf->right_margin + pdf->left_margin + pdf->logo_width);
  if (pdf->logo_width != 0) {
    pdf->title_bar_x = pdf->left_margin + pdf->logo_width + 20;
    pdf->title_bar_width -= 20;
  }
  SetPdfLineWidth(page, 2);
  SetPdfStroke(page, 0, 0, 0);
  SetPdfFill(page, 0.039f, 0.254f, 0.412f);
  FillPdfRectangle(page, pdf->title_bar_x, top - kTitleBarHeight, pdf->title_bar_width,
                   kTitleBarHeight);
  Hpdf().HPDF_Page_SetFontAndSize(page, pdf->bold_font, kTitleFontSize);
  if (report->last_title.has_value()) {
    SetPdfFill(page, 1, 1, 1);
    ShowPdfText(page, pdf->title_bar_x + 10, top - 20, PdfText(*report->last_title));
    SetPdfStroke(page, 0, 0, 0);
    SetPdfFill(page, 0, 0, 0);
  }
}

void DrawFooter(const Report* report, const Report* parent, PdfState* pdf, HPDF_Page page,
                float width) {
  const float bottom = pdf->bottom_margin;
  SetPdfLineWidth(page, 1);
  SetPdfStroke(page, 0, 0, 0);
  Hpdf().HPDF_Page_MoveTo(page, pdf->left_margin, bottom);
  Hpdf().HPDF_Page_LineTo(page, width - pdf->right_margin, bottom);
  Hpdf().HPDF_Page_Stroke(page);
  if (bottom > 20) {
    if (report->page_number == 1 && report->report_number != 0) {
      char id[32];
      snprintf(id, sizeof id, "Report-ID %3.3u", static_cast<unsigned>(report->report_number));
      const PdfText text(id);
      Hpdf().HPDF_Page_SetFontAndSize(page, pdf->fixed_font, kBodyFontSize);
      SetPdfFill(page, 0, 0, 0);
      FillPdfRectangle(page, 10, bottom - 14, text.Width(page) + 10, 14);
      SetPdfFill(page, 1, 1, 1);
      ShowPdfText(page, 15, bottom - 9, text);
      Hpdf().HPDF_Page_SetFontAndSize(page, pdf->regular_font, kBodyFontSize);
    }
    SetPdfFill(page, 0, 0, 0);
    const PdfText notice(kPdfNoticeLine);
    ShowPdfText(page, (width - notice.Width(page)) / 2, bottom - 10, notice);
  }
  char number[32];
  snprintf(number, sizeof number, "Page %u", static_cast<unsigned>(parent->page_number));
  const PdfText page_number(number);
  ShowPdfText(page, width - (page_number.Width(page) + pdf->right_margin), bottom - 10,
              page_number);
}

void DrawQrCode(const Report* report, const Report* parent, HPDF_Page page, float width,
                float height, float right) {
  char created[128];
  FormatLocalTime(parent->creation_time, "%A, %B %d, %Y - %H:%M:%S", created, sizeof created);
  std::string text = std::to_string(parent->page_number);
  text += ';';
  if (report->last_title.has_value()) text += *report->last_title;
  text += ';';
  text += created;
  DrawPdfQrCode(page, text.c_str(), width - kQrCodeInset - right, height - kQrCodeInset);
}

// Places every column and draws the names of the visible ones at `y`.
void DrawColumnHeadings(Report* report, PdfState* pdf, HPDF_Page page, float y) {
  SetPdfStroke(page, 0, 0, 0);
  SetPdfFill(page, 0, 0, 0);
  float x = pdf->left_margin + 5;
  for (uint32_t i = 0; i < report->column_count; ++i) {
    ReportColumn& column = report->columns[i];
    column.pdf_x = x;
    column.pdf_width = static_cast<float>(column.width) * pdf->unit;
    if (column.flags & ReportColumnFlag::Hidden) continue;
    const PdfText name(column.name);
    float dx = 0;
    if (column.flags & ReportColumnFlag::RightAlign) dx = column.pdf_width - name.Width(page) - 5;
    ShowPdfText(page, x + dx, y - 8, name);
    x += column.pdf_width;
  }
}

// Bookmark texts are cut like the texts on the page (the library refuses strings
// beyond 64 KB and would mark the whole document as failed).
void CreatePendingBookmarks(const Report* report, PdfState* pdf, HPDF_Page page) {
  if (pdf->bits & PdfStateBit::TitleBookmarkPending) {
    char title[kReportLineBuffer];
    Utf8ToPdfDocEncoding(report->last_title.value_or(""), title, sizeof title);
    pdf->title_outline = Hpdf().HPDF_CreateOutline(pdf->document, nullptr, title, nullptr);
    if (pdf->title_outline != nullptr) {
      if (HPDF_Destination destination = Hpdf().HPDF_Page_CreateDestination(page))
        Hpdf().HPDF_Outline_SetDestination(pdf->title_outline, destination);
    }
    pdf->bits &= ~PdfStateBit::TitleBookmarkPending;
  }
  if (pdf->bits & PdfStateBit::NotesBookmarkPending) {
    char notes[kReportLineBuffer];
    Utf8ToPdfDocEncoding(report->notes.value_or(""), notes, sizeof notes);
    HPDF_Outline outline =
        Hpdf().HPDF_CreateOutline(pdf->document, pdf->title_outline, notes, nullptr);
    if (outline != nullptr) {
      if (HPDF_Destination destination = Hpdf().HPDF_Page_CreateDestination(page))
        Hpdf().HPDF_Outline_SetDestination(outline, destination);
    }
    pdf->bits &= ~PdfStateBit::NotesBookmarkPending;
  }
}

}  // namespace

void StartPdfPage(Report* report) {
  PdfState* pdf = report->pdf;
  LoadLogoOnce(report, pdf);
  Report* parent = PdfParentOf(report);
  parent->page_number++;
  if (parent != report) report->page_number++;

  PackPdfPageContents(pdf->page);  // the report never draws on a page it has left
  HPDF_Page page = Hpdf().HPDF_AddPage(pdf->document);
  pdf->page = page;
  if (page == nullptr) return;
  Hpdf().HPDF_Page_SetSize(page, PageSizeFor(pdf->page_size), DirectionFor(pdf->orientation));
  const float width = Hpdf().HPDF_Page_GetWidth(page);
  const float height = Hpdf().HPDF_Page_GetHeight(page);
  const float left = pdf->left_margin;
  const float right = pdf->right_margin;
  const float line_height = pdf->line_height;

  if (pdf->logo != nullptr) {
    Hpdf().HPDF_Page_DrawImage(page, pdf->logo, left, height - pdf->logo_height - pdf->top_margin,
                               pdf->logo_width, pdf->logo_height);
  }
  const float top = height - pdf->top_margin;
  DrawTitleBar(report, pdf, page, width, top);

  float y = top - 45;
  Hpdf().HPDF_Page_SetFontAndSize(page, pdf->regular_font, kBodyFontSize);
  if (report->notes.has_value()) {
    ShowPdfText(page, pdf->title_bar_x, y, PdfText(*report->notes));
    y -= kHeadingLineGap;
  }
  char production[160];
  char when[128];
  FormatLocalTime(parent->creation_time, "%A, %B %d, %Y - %H:%M:%S (%Z)", when, sizeof when);
  snprintf(production, sizeof production, "Production Time: %s", when);
  ShowPdfText(page, pdf->title_bar_x, y, PdfText(production));

  SetPdfLineWidth(page, 2);
  SetPdfStroke(page, 0, 0, 0);
  SetPdfFill(page, 0.8f, 0.8f, 0.8f);
  y -= kHeadingLineGap;
  const float body_width = (width - left - right) * pdf->horizontal_scale;
  FillPdfRectangle(page, left, y - line_height, body_width, line_height);
  SetPdfFill(page, 0, 0, 0);

  const float visible = VisibleColumnWidths(report);
  pdf->unit = (width - (right + left)) * pdf->horizontal_scale / (visible != 0 ? visible : 1);

  DrawFooter(report, parent, pdf, page, width);
  DrawQrCode(report, parent, page, width, height, right);
  DrawColumnHeadings(report, pdf, page, y);

  pdf->body_top = y - 2 * line_height;
  const float lines = std::floor((pdf->body_top - pdf->bottom_margin) / line_height);
  report->lines_per_page = lines > 0 ? static_cast<uint32_t>(lines) : 0;

  CreatePendingBookmarks(report, pdf, page);
}
