// Times one export form of the list on 100,000 selected rows of 8 columns that a
// virtual list holds in memory, the way an owner with its rows at hand would
// (bench/list_export.sh runs it once per form, beside Python writing the same rows):
//
//   list_export_bench rows FILE          writes the rows as tab-separated lines,
//                                        the header first (for the Python side)
//   list_export_bench FORM OUT [RUNS]    writes OUT RUNS times (default 3) and prints
//                                        "seconds S cpu C peak_kb K base_kb B bytes N"
//
// FORM is csv, xml, text, json, xlsx or pdf (Letter, portrait). S is the median
// write in elapsed seconds, C in processor seconds (steadier on a busy machine),
// K the process's peak resident memory, B the peak before the first write
// (the list and its rows), N the size of the last file. The writes need an X
// server. Exit status 1 means a broken run (a writer failed, showed a message, or
// left no file), never a slow one.
#include <sys/resource.h>
#include <sys/stat.h>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "listctrl/zorm_list_ctrl.h"

namespace {

constexpr long kRows = 100000;
constexpr int kColumns = 8;
const char* const kHeaders[kColumns] = {"Date",     "Customer", "City",   "Product",
                                        "Quantity", "Price",    "Amount", "Note"};

// Texts of an order list: names with and without a comma, places with letters
// beyond ASCII, products with inch marks, prices such as 12.5, a few notes that
// hold commas and quotes. Spread by primes so neighbouring rows differ.
const char* const kFirst[] = {"John", "Maria", "Ahmed", "Chloé", "Wei", "Olga",
                              "Peter", "Aisha", "Lars", "Sofia", "Kenji", "Emma"};
const char* const kLast[] = {"Smith", "Müller", "Garcia", "O'Brien", "Nguyen", "Kowalski",
                             "Rossi", "Johansson", "Dubois", "Tanaka", "Brown"};
const char* const kCities[] = {"Springfield", "Zürich", "São Paulo", "New York", "Lyon",
                               "Osaka", "Chicago", "Kraków", "Dublin", "Austin"};
const char* const kProducts[] = {"Bolt 3/8\" zinc", "Washer M8",      "Hinge, brass",
                                 "Cable tie 200 mm", "Pipe 1/2\" copper", "Gasket kit",
                                 "Drill bit 6 mm",  "Anchor \"heavy duty\""};

template <size_t N>
const char* Pick(const char* const (&table)[N], long index) {
  return table[static_cast<size_t>(index) % N];
}

// Cents as a price the way people type it: 12.5, 7, 1049.99.
std::string Money(long cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld.%02ld", cents / 100, cents % 100);
  std::string money(text);
  while (money.back() == '0') money.pop_back();
  if (money.back() == '.') money.pop_back();
  return money;
}

std::string MakeCell(long row, int column) {
  char text[96];
  const long quantity = row * 7919 % 500 + 1;
  const long cents = row * 104729 % 100000 + 5;
  switch (column) {
    case 0:
      std::snprintf(text, sizeof text, "%ld-%02ld-%02ld", 2021 + row % 4, row / 28 % 12 + 1,
                    row % 28 + 1);
      return text;
    case 1:
      if (row % 4 == 0)
        std::snprintf(text, sizeof text, "%s, %s", Pick(kLast, row * 13 + row / 11),
                      Pick(kFirst, row * 7));
      else
        std::snprintf(text, sizeof text, "%s %s", Pick(kFirst, row * 7),
                      Pick(kLast, row * 13 + row / 11));
      return text;
    case 2:
      return Pick(kCities, row * 3 + row / 7);
    case 3:
      return Pick(kProducts, row * 5 + row / 3);
    case 4:
      return std::to_string(quantity);
    case 5:
      return Money(cents);
    case 6:
      std::snprintf(text, sizeof text, "%.2f", double(quantity * cents) / 100);
      return text;
    default:
      switch (row % 10) {
        case 0:
          return "Call before delivery, ask for \"Sam\"";
        case 3:
          return "Backorder; ships in 2 weeks";
        case 7:
          return "Rush order";
        default:
          return "";
      }
  }
}

// Every cell of every row in one buffer, as an owner that read its rows from a
// file would keep them: cheap to hold and to hand out.
class OrderRows {
 public:
  OrderRows() {
    m_offsets.reserve(size_t(kRows) * kColumns + 1);
    for (long row = 0; row < kRows; ++row)
      for (int column = 0; column < kColumns; ++column) {
        m_offsets.push_back(uint32_t(m_text.size()));
        m_text += MakeCell(row, column);
      }
    m_offsets.push_back(uint32_t(m_text.size()));
  }
  std::string_view Cell(long row, int column) const {
    const size_t index = size_t(row) * kColumns + size_t(column);
    return std::string_view(m_text).substr(m_offsets[index], m_offsets[index + 1] - m_offsets[index]);
  }

 private:
  std::string m_text;
  std::vector<uint32_t> m_offsets;
};

class OrderList : public CZORMListCtrl {
 public:
  OrderList(wxWindow* parent, const OrderRows& rows)
      : CZORMListCtrl(parent, wxID_ANY, wxDefaultPosition, wxSize(900, 500),
                      wxLC_REPORT | wxLC_VIRTUAL),
        m_rows(rows) {
    for (const char* header : kHeaders) AppendColumn(header, wxLIST_FORMAT_LEFT, 110);
    SetItemCount(kRows);
  }

  // The rows are UTF-8 already: no trip through wxString for the exports.
  std::string GetExportCellText(long row, int column) const override {
    return std::string(m_rows.Cell(row, GetColumnIndexFromOrder(column)));
  }

 protected:
  wxString GetCellText(long item, long column) const override {
    const std::string_view cell = m_rows.Cell(item, int(column));
    return wxString::FromUTF8(cell.data(), cell.size());
  }

 private:
  const OrderRows& m_rows;
};

// A writer that shows a message has failed: the message is kept and the box closed
// so that the run ends instead of waiting for a user.
struct MessageCatcher : wxModalDialogHook {
  MessageCatcher() { Register(); }
  ~MessageCatcher() override { Unregister(); }
  int Enter(wxDialog* dialog) override {
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog))
      messages += box->GetMessage().utf8_string() + "; ";
    else
      messages += "a dialog: " + dialog->GetTitle().utf8_string() + "; ";
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
  std::string messages;
};

using Writer = std::function<bool(CZORMListCtrl&, const std::string&)>;

struct Form {
  const char* name;
  Writer write;
};

const Form kForms[] = {
    {"csv", [](CZORMListCtrl& list, const std::string& path) { return list.WriteCSVFile(path); }},
    {"xml", [](CZORMListCtrl& list, const std::string& path) { return list.WriteXMLFile(path); }},
    {"text",
     [](CZORMListCtrl& list, const std::string& path) {
       return list.ExportText("Export", path, ExportAction::None);
     }},
    {"json",
     [](CZORMListCtrl& list, const std::string& path) {
       return list.ExportJSON("Export", path, ExportAction::None);
     }},
    {"xlsx", [](CZORMListCtrl& list, const std::string& path) { return list.WriteExcelFile(path); }},
    {"pdf",
     [](CZORMListCtrl& list, const std::string& path) {
       return list.WritePDFFile(path, "Export", PdfExportOptions{});  // Letter, portrait
     }},
};

long PeakKilobytes() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double ProcessorSeconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

const Form* g_form = nullptr;
std::string g_path;
int g_runs = 3;
int g_status = 1;

class BenchApp : public wxApp {
 public:
  bool OnInit() override {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "List export");
    const OrderRows rows;
    auto* list = new OrderList(frame, rows);
    frame->Show();
    list->SelectAll();
    const long base_kb = PeakKilobytes();
    MessageCatcher catcher;
    bool written = true;
    std::vector<double> walls, cpus;
    for (int run = 0; run < g_runs; ++run) {
      std::remove(g_path.c_str());  // every run creates its file
      const auto start = std::chrono::steady_clock::now();
      const double cpu_start = ProcessorSeconds();
      written = g_form->write(*list, g_path) && written;
      cpus.push_back(ProcessorSeconds() - cpu_start);
      walls.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    struct stat file;
    const bool present = stat(g_path.c_str(), &file) == 0 && file.st_size > 0;
    if (list->GetSelectedItemCount() != kRows)
      std::fprintf(stderr, "%d rows selected, not %ld\n", list->GetSelectedItemCount(), kRows);
    else if (!written || !present || !catcher.messages.empty())
      std::fprintf(stderr, "%s export failed%s%s\n", g_form->name, present ? "" : ", no file",
                   catcher.messages.empty() ? "" : (": " + catcher.messages).c_str());
    else
      g_status = 0;
    std::printf("seconds %.4f cpu %.4f peak_kb %ld base_kb %ld bytes %lld\n", Median(walls),
                Median(cpus), PeakKilobytes(), base_kb,
                present ? static_cast<long long>(file.st_size) : 0LL);
    list->Destroy();
    frame->Destroy();
    return false;
  }
};

int WriteRows(const char* path) {
  FILE* out = std::fopen(path, "w");
  if (out == nullptr) {
    std::perror(path);
    return 1;
  }
  const OrderRows rows;
  for (int column = 0; column < kColumns; ++column)
    std::fprintf(out, column == 0 ? "%s" : "\t%s", kHeaders[column]);
  for (long row = 0; row < kRows; ++row) {
    std::fputc('\n', out);
    for (int column = 0; column < kColumns; ++column) {
      if (column > 0) std::fputc('\t', out);
      const std::string_view cell = rows.Cell(row, column);
      std::fwrite(cell.data(), 1, cell.size(), out);
    }
  }
  std::fputc('\n', out);
  return std::fclose(out) == 0 ? 0 : 1;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "rows") == 0) return WriteRows(argv[2]);
  for (const Form& form : kForms)
    if (argc >= 3 && std::strcmp(argv[1], form.name) == 0) g_form = &form;
  if (argc >= 4) g_runs = std::atoi(argv[3]);
  if (g_form == nullptr || argc > 4 || g_runs < 1) {
    std::fprintf(stderr,
                 "usage: %s rows FILE | %s csv|xml|text|json|xlsx|pdf OUT [RUNS]\n", argv[0],
                 argv[0]);
    return 2;
  }
  g_path = argv[2];
  int wx_argc = 1;
  wxEntry(wx_argc, argv);  // OnInit does the work and ends the program
  return g_status;
}
