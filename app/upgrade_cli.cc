#include "app/upgrade_cli.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "app/change_history_report.h"
#include "app/feed_fetch.h"
#include "app/rss.h"
#include "app/upgrade_summary.h"
#include "platform/installer.h"
#include "util/utf8.h"

namespace {

constexpr char kUsage[] =
    "usage: calvaro-upgrade-cli MODULE BUILT PACKAGE [--install] [--properties TEXT]\n"
    "  MODULE            the module to upgrade\n"
    "  BUILT             the build date of the installed copy, such as \"Jul  5 2021\"\n"
    "  PACKAGE           the new installation package (.msi path or http(s) address)\n"
    "  --install         install the package after showing the summary\n"
    "  --properties TEXT installer properties, such as INSTALLDIR=/opt/calvaro\n"
    "The change history is written in the format of ZORMREPORTFORMAT (text by default).\n";

constexpr int kExitNoHistory = 1;
constexpr int kExitUsage = 2;

// Reads the module's change history; says why on standard error when it cannot.
// Unlike the dialog, an error page or a body that is no feed is a failure here:
// a script must not take it for an empty history.
bool LoadChangeHistory(const std::string& module, CRSS* rss) {
  auto fail = [&module](const std::string& why) {
    fprintf(stderr, "calvaro-upgrade-cli: change history of \"%s\": %s\n", module.c_str(),
            why.c_str());
    return false;
  };
  try {
    FeedAnswer answer = FetchFeedAnswer(module);
    if (answer.status < 200 || answer.status > 299)
      return fail("the server answered with HTTP status " + std::to_string(answer.status));
    if (CZORMXML probe; probe.LoadXML(answer.body) != XmlResult::kOk)
      return fail("the server's answer is not XML");
    rss->Read(answer.body);
    rss->Classify();
  } catch (const std::exception& error) {
    return fail(error.what());
  }
  // What the server wrote reaches a terminal or a JSON reader: no escape
  // sequences, no broken characters.
  for (CRSSItem& item : rss->m_items) {
    item.m_strTitle = PrintableUtf8(item.m_strTitle);
    item.m_strDescription = PrintableUtf8(item.m_strDescription);
  }
  return true;
}

// Shows progress on a terminal only, so that scripts get clean output.
bool ReportProgress(const InstallProgress& progress) {
  if (progress.percent < 0) return true;
  fprintf(stderr, "\r%s: %3d%%",
          progress.stage == InstallProgress::Stage::kDownload ? "Downloading" : "Installing",
          progress.percent);
  if (progress.percent == 100) fputc('\n', stderr);
  return true;
}

}  // namespace

void UpgradeCliCommandLine::ParseParam(const char* param, bool flag, bool last) {
  if (m_bPropertiesNext) {
    m_strProperties = param;
    m_bPropertiesNext = false;
    return;
  }
  if (!flag) {
    CCommandLineInfoEx::ParseParam(param, flag, last);
    return;
  }
  const std::string option = param;
  if (option == "-install") {
    m_bInstall = true;
  } else if (option == "-properties") {
    if (last) m_strError = "--properties needs a value";
    m_bPropertiesNext = true;
  } else if (option == "-help" || option == "h") {
    m_bHelp = true;
  } else {
    m_strError = "unknown option -" + option;
  }
}

int RunUpgradeCli(int argc, const char* const* argv) {
  UpgradeCliCommandLine command_line;
  ParseCommandLine(argc, argv, command_line);
  if (command_line.m_bHelp) {
    fputs(kUsage, stdout);
    return 0;
  }
  if (command_line.m_strError.empty() && command_line.m_nParam < 3)
    command_line.m_strError = "MODULE, BUILT and PACKAGE are needed";
  if (command_line.m_strError.empty() && command_line.m_nParam > 3)
    command_line.m_strError = "too many arguments";
  if (!command_line.m_strError.empty()) {
    fprintf(stderr, "calvaro-upgrade-cli: %s\n%s", command_line.m_strError.c_str(), kUsage);
    return kExitUsage;
  }

  UpgradeRequest request = UpgradeRequestFrom(command_line);
  request.properties = command_line.m_strProperties;
  printf("URL: %s\n", request.package.c_str());
  printf("Module: %s\n", request.module.c_str());
  printf("Built: %s\n", BuiltText(request.built).c_str());
  printf("Age: %s\n", AgeText(request.built).c_str());
  printf("MSI Properties: %s\n\n", request.properties.c_str());
  fflush(stdout);

  CRSS rss;
  const bool have_history = LoadChangeHistory(request.module, &rss);
  if (have_history) {
    const unsigned pdf_result = WriteChangeHistoryReport(rss.m_items, stdout);
    if (pdf_result != 0)
      fprintf(stderr, "calvaro-upgrade-cli: PDF save failed with result code: %u\n", pdf_result);
  }
  fflush(stdout);
  if (!command_line.m_bInstall) return have_history ? 0 : kExitNoHistory;

  InstallProgressCallback progress;
  if (isatty(STDERR_FILENO)) progress = ReportProgress;
  const Status result =
      InstallProduct(request.package, request.properties, progress);
  if (!result.ok()) {
    printf("Windows Installer returned code: %u\n", static_cast<unsigned>(result.code()));
    if (!result.message().empty())
      fprintf(stderr, "calvaro-upgrade-cli: %s\n", result.message().c_str());
  }
  fflush(stdout);
  return static_cast<int>(result.code() & 0xFF);
}
