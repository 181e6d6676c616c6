// The PDF format: opening the document, section headings, records, banners,
// blank pages for empty sections, and saving or streaming the document.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/file_io.h"
#include "report/pdf_page.h"
#include "report/pdf_page_packing.h"
#include "report/pdf_state.h"
#include "report/pdf_text.h"
#include "report/qrcodegen_library.h"
#include "report/report_cells.h"
#include "report/report_format.h"
#include "report/time_text.h"
#include "util/copy_cut.h"
#include "util/string_compare.h"

namespace {

constexpr float kBodyFontSize = 8;

struct PageSizeName {
  const char* name;
  HPDF_PageSizes size;
};
constexpr PageSizeName kPageSizeNames[] = {
    {"letter", HPDF_PAGE_SIZE_LETTER}, {"legal", HPDF_PAGE_SIZE_LEGAL},
    {"A3", HPDF_PAGE_SIZE_A3},         {"A4", HPDF_PAGE_SIZE_A4},
    {"A5", HPDF_PAGE_SIZE_A5},         {"B4", HPDF_PAGE_SIZE_B4},
    {"B5", HPDF_PAGE_SIZE_B5},         {"executive", HPDF_PAGE_SIZE_EXECUTIVE},
};

uint32_t PageSizeFromName(const char* name) {
  for (const PageSizeName& entry : kPageSizeNames) {
    if (StringsEqualNoCase(name, entry.name)) return entry.size;
  }
  return HPDF_PAGE_SIZE_LETTER;
}

// Copies a path from the environment; a value longer than a path may be is left
// out, so that no file is written or read under a cut name. True when copied.
bool CopyPathFromEnvironment(const char* variable, char (&target)[kReportMaxPath + 1]) {
  const char* value = getenv(variable);
  if (value == nullptr || strlen(value) > kReportMaxPath) return false;
  strcpy(target, value);
  return true;
}

bool HasOpenDocument(const Report* report) {
  return report->pdf != nullptr && report->pdf->document != nullptr;
}

void Open(Report* report) {
  // A child draws into its parent's document.
  if (PdfParentOf(report) != report || report->pdf == nullptr) return;
  PdfState* pdf = report->pdf;
  // The libraries are opened by the first PDF; a report without them draws
  // nothing and says why.
  const HpdfLibrary* hpdf = nullptr;
  const QrcodegenLibrary* qrcodegen = nullptr;
  Status loaded = LoadHpdfLibrary(&hpdf);
  if (loaded.ok()) loaded = LoadQrcodegenLibrary(&qrcodegen);
  if (!loaded.ok()) {
    report->file_error = loaded.message();
    return;
  }
  // No memory pool: a pool frees nothing before the document goes, and the pages
  // the report has left give back their uncompressed drawing (pdf_page_packing.h).
  pdf->document = hpdf->HPDF_NewEx(PrintPdfError, nullptr, nullptr, 0, nullptr);
  if (pdf->document == nullptr) return;
  hpdf->HPDF_SetCompressionMode(pdf->document, HPDF_COMP_ALL);

  CopyPathFromEnvironment("ZORMPDFLOGOPATH", pdf->logo_path);
  // An empty ZORMPDFOUTPUTPATH means no file; one too long to hold is refused,
  // not replaced by the default name.
  const char* wanted = getenv("ZORMPDFOUTPUTPATH");
  if (wanted != nullptr && strlen(wanted) > kReportMaxPath) {
    report->file_error = "the PDF path is longer than " + std::to_string(kReportMaxPath) +
                         " characters: " + wanted;
    pdf->output_path[0] = '\0';
  } else if (!CopyPathFromEnvironment("ZORMPDFOUTPUTPATH", pdf->output_path) &&
      pdf->output_path[0] == '\0') {
    snprintf(pdf->output_path, sizeof pdf->output_path, "Report-%s.pdf",
             FormatFileStamp(report->creation_time));
  }
  if (const char* orientation = getenv("ZORMPDFORIENTATION"))
    pdf->orientation = StringsEqualNoCase(orientation, "landscape") ? 1 : 0;
  if (const char* size = getenv("ZORMPDFPAGESIZE")) pdf->page_size = PageSizeFromName(size);

  // The geometry values keep the state's initial values; the fonts draw WinAnsi,
  // the encoding the text is transcoded to.
  pdf->bold_font = hpdf->HPDF_GetFont(pdf->document, "Helvetica-Bold", "WinAnsiEncoding");
  pdf->regular_font = hpdf->HPDF_GetFont(pdf->document, "Helvetica", "WinAnsiEncoding");
  pdf->fixed_font = hpdf->HPDF_GetFont(pdf->document, "Courier", "WinAnsiEncoding");

  WriteCgiHeaderLine(report, "Content-type: application/pdf");
  const std::string disposition =
      std::string("Content-disposition: attachment; filename=\"") + pdf->output_path + "\"";
  WriteCgiHeaderLine(report, disposition.c_str());
}

void Header(Report* report, const ReportSection& section) {
  if (report->pdf == nullptr) return;
  if (section.title_is_new) report->pdf->bits |= PdfStateBit::TitleBookmarkPending;
  if (section.notes != nullptr) report->pdf->bits |= PdfStateBit::NotesBookmarkPending;
}

// The lines per page (at least 1, stored back) and the y of the record line that
// the record counter has reached; updates the line in page.
float NextLineY(Report* report, bool* shaded) {
  if (report->lines_per_page < 1) report->lines_per_page = 1;
  const uint32_t lines = report->lines_per_page;
  report->line_in_page = report->record_counter % lines;
  const uint32_t position = report->line_in_page != 0 ? report->line_in_page : lines;
  *shaded = position % 2 == 0;
  return report->pdf->body_top - static_cast<float>(position - 1) * report->pdf->line_height;
}

// Each bracketed word of `value` as white text in a black box.
void DrawTags(const PdfState* pdf, HPDF_Page page, float x, float y, std::string_view value) {
  size_t pos = 0;
  while (pos < value.size()) {
    const size_t end = value.find_first_of("[]", pos);
    const std::string_view piece =
        value.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? value.size() : end + 1;
    const std::string_view word = TrimReportValue(piece.data(), piece.size());
    if (word.empty()) continue;
    const PdfText text(word);
    const float width = text.Width(page);
    SetPdfFill(page, 0, 0, 0);
    FillPdfRectangle(page, x, y + 1, width + 8, pdf->line_height - 2);
    SetPdfStroke(page, 1, 1, 1);
    SetPdfFill(page, 1, 1, 1);
    ShowPdfText(page, x + 4, y + 3, text);
    x += width + 10;
  }
  SetPdfLineWidth(page, 2);
  SetPdfStroke(page, 0, 0, 0);
  SetPdfFill(page, 0, 0, 0);
}

void Record(Report* report, const ReportRecord& record) {
  if (!HasOpenDocument(report)) return;
  PdfState* pdf = report->pdf;
  if (report->line_in_page == 0) StartPdfPage(report);
  bool shaded;
  const float y = NextLineY(report, &shaded);
  HPDF_Page page = pdf->page;
  if (page == nullptr) return;
  const float width = Hpdf().HPDF_Page_GetWidth(page);
  if (shaded) {
    SetPdfLineWidth(page, 2);
    SetPdfStroke(page, 0, 0, 0);
    SetPdfFill(page, 0.98f, 0.98f, 0.98f);
    FillPdfRectangle(page, pdf->left_margin, y,
                     (width - pdf->left_margin - pdf->right_margin) * pdf->horizontal_scale,
                     pdf->line_height);
    SetPdfFill(page, 0, 0, 0);
  }
  PdfTextBlock texts(page);
  for (uint32_t i = 0; i < report->column_count; ++i) {
    const ReportColumn& column = report->columns[i];
    if (record.value[i] == nullptr || (column.flags & ReportColumnFlag::Hidden)) continue;
    char number[kNumericCellBuffer];
    const std::string_view value =
        (column.flags & ReportColumnFlag::Numeric)
            ? NumericCellText(record.value[i], record.length[i], column.flags, number)
            : std::string_view(record.value[i], record.length[i]);
    if (column.flags & ReportColumnFlag::Fixed)
      Hpdf().HPDF_Page_SetFontAndSize(page, pdf->fixed_font, kBodyFontSize);
    if (column.flags & ReportColumnFlag::Tags) {
      texts.End();  // the boxes are rectangles
      DrawTags(pdf, page, column.pdf_x, y, value);
    } else {
      const PdfText text(value);
      float dx = 0;
      if (column.flags & ReportColumnFlag::RightAlign) dx = column.pdf_width - text.Width(page) - 5;
      texts.Show(column.pdf_x + dx, y + 3, text);
    }
    if (column.flags & ReportColumnFlag::Fixed)
      Hpdf().HPDF_Page_SetFontAndSize(page, pdf->regular_font, kBodyFontSize);
  }
}

void Banner(Report* report, const char* text) {
  if (!HasOpenDocument(report)) return;
  PdfState* pdf = report->pdf;
  report->record_counter++;
  if (report->lines_per_page < 1) report->lines_per_page = 1;
  if (report->line_in_page == 0 || report->line_in_page == report->lines_per_page - 1) {
    report->record_counter++;
    StartPdfPage(report);
  }
  bool shaded;
  const float y = NextLineY(report, &shaded);
  HPDF_Page page = pdf->page;
  if (page == nullptr) return;
  const float width = Hpdf().HPDF_Page_GetWidth(page);
  const float middle = y + pdf->line_height / 2;
  SetPdfLineWidth(page, 1);
  SetPdfStroke(page, 0, 0, 0);
  Hpdf().HPDF_Page_MoveTo(page, pdf->left_margin, middle);
  Hpdf().HPDF_Page_LineTo(page, width - pdf->right_margin, middle);
  Hpdf().HPDF_Page_Stroke(page);
  const PdfText banner(text);
  const float text_width = banner.Width(page);
  const float x =
      (width - (pdf->right_margin + pdf->left_margin)) * pdf->horizontal_scale / 2 - text_width / 2;
  SetPdfFill(page, 0, 0, 0);
  FillPdfRectangle(page, x - 20, y, text_width + 40, pdf->line_height);
  SetPdfFill(page, 1, 1, 1);
  ShowPdfText(page, x, y + 3, banner);
  SetPdfLineWidth(page, 2);
  SetPdfStroke(page, 0, 0, 0);
  SetPdfFill(page, 0, 0, 0);
}

// A page for a section without records, with a grey box holding `text`.
void DrawBlankPage(Report* report, const char* text) {
  PdfState* pdf = report->pdf;
  StartPdfPage(report);
  HPDF_Page page = pdf->page;
  if (page == nullptr) return;
  const float box_y = (Hpdf().HPDF_Page_GetHeight(page) - pdf->top_margin) / 2;
  SetPdfLineWidth(page, 2);
  SetPdfStroke(page, 0, 0, 0);
  SetPdfFill(page, 0.8f, 0.8f, 0.8f);
  FillPdfRectangle(page, pdf->title_bar_x, box_y, pdf->title_bar_width, 30);
  Hpdf().HPDF_Page_SetFontAndSize(page, pdf->bold_font, 18);
  const PdfText message(text);
  SetPdfFill(page, 1, 1, 1);
  ShowPdfText(page, (pdf->title_bar_width - message.Width(page)) / 2, box_y + 10, message);
  SetPdfStroke(page, 0, 0, 0);
  SetPdfFill(page, 0, 0, 0);
}

void Trailer(Report* report) {
  if (report->record_counter != 0) {
    ResetReportCounters(report);  // the next record starts a page
  } else if (const char* text = getenv("ZORMPDFBLANKPAGETEXT")) {
    if (HasOpenDocument(report)) DrawBlankPage(report, text);
  }
}

// Writes the document to standard output after its length line.
void StreamDocument(PdfState* pdf) {
  if (Hpdf().HPDF_SaveToStream(pdf->document) != HPDF_OK) return;
  HPDF_UINT32 size = Hpdf().HPDF_GetStreamSize(pdf->document);
  printf("Content-Length: %u\n", static_cast<unsigned>(size));
  printf("\r\n");
  if (size == 0) return;
  std::unique_ptr<HPDF_BYTE[]> body(new HPDF_BYTE[size]);
  const HPDF_STATUS read = Hpdf().HPDF_ReadFromStream(pdf->document, body.get(), &size);
  if (read != HPDF_OK && read != HPDF_STREAM_EOF) return;
  fwrite(body.get(), 1, size, stdout);
  fflush(stdout);
}

// The document is made at InitReport, so that the PDF settings can be made
// before the first Header.
void Prepare(Report* report) { report->pdf = new PdfState(); }

void Borrow(Report* report) { BorrowParentDocument(report, &Report::pdf, ReportState::PdfBorrowed); }

void Release(Report* report) { ReleaseDocument(report, &Report::pdf, ReportState::PdfBorrowed); }

void Close(Report* report) {
  if (PdfParentOf(report) != report || !HasOpenDocument(report)) return;
  PdfState* pdf = report->pdf;
  PackPdfPageContents(pdf->page);
  if (report->state & ReportState::CgiMode) {
    StreamDocument(pdf);
  } else if (pdf->output_path[0] != '\0') {
    // Saved beside and renamed, so a failed save leaves an earlier file as it was.
    AtomicFile file;
    if (file.Open(pdf->output_path, &report->file_error)) {
      report->pdf_save_result = Hpdf().HPDF_SaveToFile(pdf->document, file.write_path().c_str());
      if (report->pdf_save_result == HPDF_OK)
        file.Commit(&report->file_error);
      else
        report->file_error =
            "cannot write " + std::string(pdf->output_path) + ": " + strerror(errno);
    }
  }
  Hpdf().HPDF_Free(pdf->document);
  pdf->document = nullptr;
  pdf->page = nullptr;
  pdf->title_outline = nullptr;
  pdf->logo = nullptr;
}

}  // namespace

void HPDF_STDCALL PrintPdfError(HPDF_STATUS error_no, HPDF_STATUS detail_no, void*) {
  printf("Error PDF Object: error_no=%04X, detail_no=%u\n", static_cast<unsigned>(error_no),
         static_cast<unsigned>(detail_no));
}

const ReportFormatOps kPdfFormatOps = {
    .Prepare = Prepare,
    .Borrow = Borrow,
    .Release = Release,
    .Open = Open,
    .Header = Header,
    .Record = Record,
    .Trailer = Trailer,
    .Separator = ResetReportCounters,
    .Banner = Banner,
    .Close = Close,
};

// The PDF settings of the operation table.

void Report::SetPdfOrientation(uint32_t orientation) {
  if (pdf != nullptr) pdf->orientation = orientation;
}

void Report::SetPdfPageSize(uint32_t page_size) {
  if (pdf != nullptr) pdf->page_size = page_size;
}

void Report::SetPdfOutputPath(const char* path) {
  if (pdf == nullptr || path == nullptr || strlen(path) > kReportMaxPath) return;
  CopyCut(pdf->output_path, sizeof pdf->output_path, path);
}

void Report::SetPdfLogo(const char* path) {
  if (pdf == nullptr || path == nullptr || strlen(path) > kReportMaxPath) return;
  struct stat info;
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return;
  CopyCut(pdf->logo_path, sizeof pdf->logo_path, path);
}
