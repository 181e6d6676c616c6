#include "platform/mail_handoff.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_io.h"
#include "platform/tool_run.h"

namespace {

constexpr char kFolderPrefix[] = "calvaro-mail-";
constexpr time_t kStaleSeconds = 24 * 60 * 60;

}  // namespace

Status HandOffMail(const MailMessage& message) {
  // --utf8 first: every text after it is UTF-8, as our strings are.
  std::vector<std::string> argv = {"xdg-email",     "--utf8", "--subject",
                                   message.subject, "--body", message.body};
  if (!message.attachment.empty()) {
    argv.push_back("--attach");
    argv.push_back(message.attachment);
  }
  for (const std::string& address : message.recipients) {
    if (address.empty() || address[0] == '-')
      return Status::Error("Not an e-mail address: \"" + address + "\"", kMailToolFailed);
    argv.push_back(address);
  }
  const ToolRun run = RunTool(argv, true, true);
  if (run.spawn_error == ENOENT)
    return Status::Error("The mail program xdg-email (package xdg-utils) is not installed",
                         kMailToolMissing);
  if (run.spawn_error != 0)
    return Status::Error(
        std::string("xdg-email could not be started: ") + strerror(run.spawn_error),
        kMailToolFailed);
  if (run.handed_over || run.exit_code == 0) return Status::Ok();
  std::string reason = run.err;
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
  return Status::Error("xdg-email failed (exit status " + std::to_string(run.exit_code) + ")" +
                           (reason.empty() ? "" : ": " + reason),
                       kMailToolFailed);
}

Status CreateMailFolder(std::string* folder) {
  std::string pattern = TempFolder() + kFolderPrefix + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr)
    return Status::Error("Cannot create a folder in " + TempFolder() + ": " + strerror(errno));
  *folder = pattern;
  return Status::Ok();
}

void RemoveMailFolder(const std::string& folder) {
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") unlink((folder + "/" + name).c_str());
    }
    closedir(dir);
  }
  rmdir(folder.c_str());
}

void RemoveStaleMailFolders(time_t now) {
  const std::string temp = TempFolder();
  DIR* dir = opendir(temp.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    if (strncmp(entry->d_name, kFolderPrefix, sizeof kFolderPrefix - 1) != 0) continue;
    const std::string path = temp + entry->d_name;
    struct stat info;
    // Only our own folders: a shared /tmp may hold another user's of the same name.
    if (lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
        now - info.st_mtime > kStaleSeconds)
      stale.push_back(path);
  }
  closedir(dir);
  for (const std::string& path : stale) RemoveMailFolder(path);
}
