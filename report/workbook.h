// A workbook written as an .xlsx file: the spreadsheet operations the report
// writer needs (create a book, add a sheet, the message of the last failure, write
// a text or a number into a cell, save to a file or into memory, release), over
// libxlsxwriter.
//
// Rows are streamed: each sheet keeps only its current row in memory and writes
// every finished row to a temporary file, so memory stays flat however many rows a
// report has. The price is that a sheet takes its rows in order: once a later row
// has been written, an earlier one can no longer be (FirstFreeRow tells where a
// new row may start). The finished workbook is assembled in a temporary file in
// $TMPDIR (else /tmp) when it is first saved; after that the book takes no more
// sheets or cells, but it may be saved again.
//
// Text is repaired before it is stored (report/workbook_text.h), so no value, of
// any length or bytes, makes a broken file.
//
// Not thread-safe: one thread uses a book at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct XlsxwriterLibrary;

// A sheet of a Workbook; it belongs to the book and lives until the book is
// released.
struct WorkbookSheet;

class Workbook {
 public:
  // Creates an empty book. Returns null when it cannot be created (the workbook
  // library cannot be loaded, no memory, no temporary file); `error`, when given,
  // then says why.
  static std::unique_ptr<Workbook> Create(std::string* error = nullptr);

  // Releases the book, its sheets, the saved bytes and its temporary files.
  ~Workbook();
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  // Adds a sheet after the others. Returns null when the name is refused (empty,
  // longer than 31 characters, one of []:*?/\, an apostrophe at either end, a name
  // already used in this book, text that is not valid UTF-8) or the book is saved;
  // ErrorMessage() then says why.
  WorkbookSheet* AddSheet(const char* name);
  // True when the book has a sheet of this name (compared as the spreadsheet
  // program compares them, without regard to case).
  bool HasSheet(const char* name) const;

  // The message of the last failure, or "" when nothing has failed yet.
  const char* ErrorMessage() const { return m_error.c_str(); }

  // Writes a text (repaired, see above) or a number into a cell; rows and columns
  // count from 0. Returns false, with ErrorMessage(), when the cell cannot be
  // written: a row before the sheet's FirstFreeRow or beyond the last row
  // (1,048,575), a column beyond the last (16,383), a saved book.
  bool WriteStr(WorkbookSheet* sheet, uint32_t row, uint32_t column, std::string_view text);
  bool WriteNum(WorkbookSheet* sheet, uint32_t row, uint32_t column, double value);

  // The first row of `sheet` that has not been written yet: 0 for a new sheet, and
  // one after the latest row written. The latest row itself still takes cells.
  uint32_t FirstFreeRow(const WorkbookSheet* sheet) const;

  // Writes the workbook to `path`, replacing the file. Returns false, with
  // ErrorMessage() naming the path and the reason, when it cannot be written.
  bool Save(const char* path);
  // Makes the workbook's file bytes available in memory: *data and *size stay valid
  // until the book is released. Returns false, with ErrorMessage(), on failure
  // (and for a workbook of 4 GB or more, whose size does not fit).
  bool SaveRaw(const char** data, uint32_t* size);

 private:
  Workbook() = default;
  // Assembles the workbook in its temporary file once. False on failure.
  bool Finish();
  bool Fail(std::string message);
  bool CheckWritable(WorkbookSheet* sheet, uint32_t row, uint32_t column);

  const XlsxwriterLibrary* m_lxw = nullptr;  // loaded by Create
  lxw_workbook* m_book = nullptr;  // null once finished
  std::vector<std::unique_ptr<WorkbookSheet>> m_sheets;
  std::string m_file;               // the temporary file the workbook is assembled in,
                                    // until it is finished
  int m_fd = -1;                    // the finished workbook's bytes (the file is unlinked)
  std::string m_scratch_dir;        // where the library keeps the rows of each sheet
  bool m_finished = false;
  const char* m_raw = nullptr;      // the file bytes, mapped from m_file
  size_t m_raw_size = 0;
  std::string m_cell_text;          // reused for every text cell
  std::string m_finish_error;     // why assembling failed, or empty
  std::string m_error;
};
