// Text as a workbook cell can hold it. Values reach the workbook from records and
// environment variables, so they may be any bytes; a workbook is XML inside a zip
// file, and one byte that is not UTF-8, or a character XML does not allow, makes
// the whole file unreadable. These functions repair such text instead of passing
// it through.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The most characters a cell holds.
constexpr size_t kWorkbookMaxCellCharacters = 32767;

// `value` as cell text:
//   - bytes that are not part of a valid UTF-8 sequence (overlong forms, surrogates
//     and code points above U+10FFFF included) become U+FFFD, one per maximal
//     invalid piece, as Unicode recommends;
//   - U+FFFE and U+FFFF, which XML does not allow, become U+FFFD;
//   - control characters other than tab and line feed are written in the
//     spreadsheet's own escape "_xHHHH_", and a literal "_xHHHH_" in the text gets
//     its underscore escaped ("_x005F_"), so spreadsheet programs show exactly the
//     original characters;
//   - the result is cut after kWorkbookMaxCellCharacters characters (escapes
//     counted as written), never inside a character or an escape.
std::string WorkbookCellText(std::string_view value);
// The same into `out` (replacing its content), so a caller writing many cells can
// reuse one buffer.
void AssignWorkbookCellText(std::string_view value, std::string* out);

// True when `text` is valid UTF-8 of characters that XML allows, without control
// characters: such text can be used as a sheet name.
bool IsWorkbookNameText(std::string_view text);
