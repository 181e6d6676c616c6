// Records, directives and settings fed through the PDF format of the report
// writer, the document saved and thrown away.
//
// Input: a settings byte (page size in the low 4 bits, orientation in the next 2,
// bit 6: a report number, bit 7: a child report drawing into the same document),
// then lines: the first declares the columns (each byte one column: width from its
// low 5 bits, flags from the high 3: right-aligned, numeric or tags, fixed font),
// the second is the title, the third the notes (none when empty), every further
// line a record or a "#!" directive as zormreport reads them.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/split_input.h"
#include "report/report.h"
#include "tools/zormreport/record_feeder.h"

namespace {

void DeclareColumns(Report* report, const std::string& spec) {
  for (unsigned char c : spec) {
    uint32_t flags = 0;
    if (c & 0x20) flags |= ReportColumnFlag::RightAlign;
    if (c & 0x40) flags |= (c & 1) ? ReportColumnFlag::Tags : ReportColumnFlag::Numeric;
    if (c & 0x80) flags |= ReportColumnFlag::Fixed;
    report->AddColumn(c & 0x1F, spec.c_str(), flags);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("ZORMREPORTFORMAT", "pdf", 1);
  setenv("ZORMPDFOUTPUTPATH", "/dev/null", 1);
  setenv("ZORMPDFBLANKPAGETEXT", "Empty section", 1);
  unsetenv("REQUEST_URI");
  // The library's error lines would flood the fuzzer's output.
  if (!freopen("/dev/null", "w", stdout)) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t settings = data[0];
  std::vector<std::string> lines =
      SplitInput(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), '\n');
  lines.resize(std::max<size_t>(lines.size(), 3));

  Report report;
  InitReport(&report);
  report.SetPdfPageSize(settings & 0x0F);
  report.SetPdfOrientation((settings >> 4) & 0x03);
  if (settings & 0x40) report.report_number = settings;
  DeclareColumns(&report, lines[0]);
  std::optional<std::string> notes;
  if (!lines[2].empty()) notes = lines[2];

  Report child;
  const bool with_child = settings & 0x80;
  {
    RecordFeeder feeder(&report, lines[1], notes);
    size_t i = 3;
    // The parent's first half of the lines, then the second half twice: as a
    // child's section in the same document, and again for the parent.
    const size_t split = with_child ? 3 + (lines.size() - 3) / 2 : lines.size();
    for (; i < split; ++i) feeder.Line(lines[i]);
    if (with_child) {
      InitReport(&child);
      child.parent = &report;
      child.report_number = 7;
      DeclareColumns(&child, lines[0]);
      RecordFeeder child_feeder(&child, "Child " + lines[1], notes);
      for (size_t j = split; j < lines.size(); ++j) child_feeder.Line(lines[j]);
      child_feeder.Finish();
    }
    for (; i < lines.size(); ++i) feeder.Line(lines[i]);
    feeder.Finish();
  }
  return 0;
}
