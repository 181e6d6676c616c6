#include "report/workbook.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/file_io.h"
#include "report/workbook_text.h"
#include "report/xlsxwriter_library.h"

struct WorkbookSheet {
  lxw_worksheet* sheet;
  uint32_t first_free_row = 0;
};

namespace {

constexpr size_t kSheetFileBuffer = 256 * 1024;

std::string SystemError(const std::string& what) { return what + ": " + strerror(errno); }

}  // namespace

std::unique_ptr<Workbook> Workbook::Create(std::string* error) {
  const XlsxwriterLibrary* lxw = nullptr;
  Status loaded = LoadXlsxwriterLibrary(&lxw);
  if (!loaded.ok()) {
    if (error != nullptr) *error = loaded.message();
    return nullptr;
  }
  std::unique_ptr<Workbook> book(new Workbook());
  book->m_lxw = lxw;
  book->m_scratch_dir = WithoutTrailingSlash(TempFolder());
  std::string name = book->m_scratch_dir + "/calvaro-workbook-XXXXXX.xlsx";
  int fd = mkstemps(name.data(), 5);
  if (fd < 0) {
    if (error != nullptr) *error = SystemError("Cannot create a temporary file in " + book->m_scratch_dir);
    return nullptr;
  }
  close(fd);
  book->m_file = name;

  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;  // rows streamed to a file, memory stays flat
  options.tmpdir = book->m_scratch_dir.data();
  book->m_book = lxw->workbook_new_opt(book->m_file.c_str(), &options);
  if (book->m_book == nullptr) {
    if (error != nullptr) *error = lxw->lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED);
    return nullptr;
  }
  return book;
}

Workbook::~Workbook() {
  if (m_book != nullptr) {
    // Freeing a book that was never saved does not close the files its sheets
    // stream their rows to; without this each would hold its disk space until the
    // program ends.
    for (const std::unique_ptr<WorkbookSheet>& sheet : m_sheets) {
      if (sheet->sheet->optimize_tmpfile != nullptr) fclose(sheet->sheet->optimize_tmpfile);
      sheet->sheet->optimize_tmpfile = nullptr;
    }
    m_lxw->lxw_workbook_free(m_book);
  }
  if (m_raw != nullptr) munmap(const_cast<char*>(m_raw), m_raw_size);
  if (m_fd >= 0) close(m_fd);
  if (!m_file.empty()) unlink(m_file.c_str());
}

bool Workbook::Fail(std::string message) {
  m_error = std::move(message);
  return false;
}

WorkbookSheet* Workbook::AddSheet(const char* name) {
  if (m_finished) {
    Fail("The workbook has been saved and takes no more sheets.");
    return nullptr;
  }
  if (name == nullptr || name[0] == '\0') {
    Fail("Worksheet name is empty.");
    return nullptr;
  }
  if (!IsWorkbookNameText(name)) {
    Fail("Worksheet name is not valid text.");
    return nullptr;
  }
  lxw_error refused = m_lxw->workbook_validate_sheet_name(m_book, name);
  if (refused != LXW_NO_ERROR) {
    Fail(m_lxw->lxw_strerror(refused));
    return nullptr;
  }
  errno = 0;
  lxw_worksheet* sheet = m_lxw->workbook_add_worksheet(m_book, name);
  if (sheet == nullptr) {
    // Each sheet keeps a temporary file open for its rows until the book is saved,
    // so thousands of sheets can run out of files.
    Fail(errno != 0 ? SystemError("Cannot add the worksheet") : "Cannot add the worksheet.");
    return nullptr;
  }
  // The sheet streams its rows to this file; a larger buffer than stdio's 4 KB
  // saves most of the system calls.
  if (sheet->optimize_tmpfile != nullptr)
    setvbuf(sheet->optimize_tmpfile, nullptr, _IOFBF, kSheetFileBuffer);
  m_sheets.push_back(std::make_unique<WorkbookSheet>(WorkbookSheet{sheet}));
  return m_sheets.back().get();
}

bool Workbook::HasSheet(const char* name) const {
  return m_book != nullptr && name != nullptr &&
         m_lxw->workbook_get_worksheet_by_name(m_book, name) != nullptr;
}

uint32_t Workbook::FirstFreeRow(const WorkbookSheet* sheet) const {
  return sheet != nullptr ? sheet->first_free_row : 0;
}

bool Workbook::CheckWritable(WorkbookSheet* sheet, uint32_t row, uint32_t column) {
  if (m_finished) return Fail("The workbook has been saved and takes no more cells.");
  if (sheet == nullptr) return Fail("There is no worksheet to write to.");
  if (row >= LXW_ROW_MAX || column >= LXW_COL_MAX)
    return Fail(m_lxw->lxw_strerror(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE));
  if (sheet->first_free_row > 0 && row < sheet->first_free_row - 1)
    return Fail("Row " + std::to_string(row) + " comes before rows already written.");
  return true;
}

bool Workbook::WriteStr(WorkbookSheet* sheet, uint32_t row, uint32_t column,
                        std::string_view text) {
  if (!CheckWritable(sheet, row, column)) return false;
  AssignWorkbookCellText(text, &m_cell_text);
  lxw_error result = m_lxw->worksheet_write_string(
      sheet->sheet, row, static_cast<lxw_col_t>(column), m_cell_text.c_str(), nullptr);
  if (result != LXW_NO_ERROR) return Fail(m_lxw->lxw_strerror(result));
  if (row >= sheet->first_free_row) sheet->first_free_row = row + 1;
  return true;
}

bool Workbook::WriteNum(WorkbookSheet* sheet, uint32_t row, uint32_t column, double value) {
  if (!CheckWritable(sheet, row, column)) return false;
  if (!std::isfinite(value)) return Fail("A cell cannot hold a number that is not finite.");
  lxw_error result = m_lxw->worksheet_write_number(sheet->sheet, row,
                                                   static_cast<lxw_col_t>(column), value, nullptr);
  if (result != LXW_NO_ERROR) return Fail(m_lxw->lxw_strerror(result));
  if (row >= sheet->first_free_row) sheet->first_free_row = row + 1;
  return true;
}

bool Workbook::Finish() {
  if (!m_finished) {
    m_finished = true;
    lxw_error result = m_lxw->workbook_close(m_book);  // frees the book whatever the result
    m_book = nullptr;
    if (result != LXW_NO_ERROR) {
      m_finish_error = m_lxw->lxw_strerror(result);
    } else if ((m_fd = open(m_file.c_str(), O_RDONLY | O_CLOEXEC)) < 0) {
      m_finish_error = SystemError("Cannot read the assembled workbook " + m_file);
    }
    // From here on the bytes are reached through m_fd: the name goes at once, so
    // that nothing is left behind even when the program is ended right after
    // sending them (a web server may do so once it has the whole response).
    unlink(m_file.c_str());
    m_file.clear();
  }
  if (!m_finish_error.empty()) return Fail("Cannot assemble the workbook: " + m_finish_error);
  return true;
}

bool Workbook::Save(const char* path) {
  if (path == nullptr || path[0] == '\0') return Fail("No file name to save the workbook to.");
  if (!Finish()) return false;
  // A failed save leaves an earlier workbook at the path as it was.
  AtomicFile out;
  std::string message;
  if (!out.Open(path, &message)) return Fail(message);
  char buffer[1 << 16];
  for (off_t offset = 0;;) {
    ssize_t got = pread(m_fd, buffer, sizeof buffer, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Fail(SystemError("Cannot read the assembled workbook"));
    if (got == 0) break;
    if (!WriteAll(out.fd(), buffer, static_cast<size_t>(got)))
      return Fail(SystemError(std::string("cannot write ") + path));
    offset += got;
  }
  if (!out.Commit(&message)) return Fail(message);
  return true;
}

bool Workbook::SaveRaw(const char** data, uint32_t* size) {
  if (!Finish()) return false;
  if (m_raw == nullptr) {
    struct stat info;
    if (fstat(m_fd, &info) != 0) return Fail(SystemError("Cannot read the assembled workbook"));
    if (info.st_size == 0) return Fail("The assembled workbook is empty.");
    if (static_cast<uint64_t>(info.st_size) > UINT32_MAX)
      return Fail("The workbook is too large to be held in memory.");
    void* mapped =
        mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, m_fd, 0);
    if (mapped == MAP_FAILED) return Fail(SystemError("Cannot map the assembled workbook"));
    m_raw = static_cast<const char*>(mapped);
    m_raw_size = static_cast<size_t>(info.st_size);
  }
  *data = m_raw;
  *size = static_cast<uint32_t>(m_raw_size);
  return true;
}
