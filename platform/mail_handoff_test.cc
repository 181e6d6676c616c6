#include "platform/mail_handoff.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "tests/support/test_env.h"

// A recording xdg-email sits alone on PATH (or none does): it writes its arguments,
// each ended by a NUL byte, then runs `then`.
TEST(MailHandOffTest, ComposerGetsSubjectBodyAttachmentAndRecipients) {
  const MailMessage kMail = {"S [x]", "Dear\n\nthe body", {"a@b.c", "d e <d@e.f>"}, "/f/g h.txt"};
  std::string kArgs;
  for (const char* arg : {"--utf8", "--subject", "S [x]", "--body", "Dear\n\nthe body", "--attach",
                          "/f/g h.txt", "a@b.c", "d e <d@e.f>"})
    kArgs += arg + std::string(1, '\0');
  struct Case {
    const char* then;  // null: no xdg-email at all
    MailMessage mail;
    std::string args;
    long code;
    const char* message;
  };
  const Case kCases[] = {
      {"exit 0", kMail, kArgs, 0, ""},
      {"echo 'no client' >&2; exit 3", kMail, kArgs, kMailToolFailed,
       "xdg-email failed (exit status 3): no client"},
      {"/bin/sleep 9", kMail, kArgs, 0, ""},  // the composer took over in the foreground
      {nullptr, kMail, "", kMailToolMissing,
       "The mail program xdg-email (package xdg-utils) is not installed"},
      {"exit 0", {"s", "b", {"x@y.z", "--attach"}, ""}, "", kMailToolFailed,
       "Not an e-mail address: \"--attach\""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.then == nullptr ? "missing" : c.then);
    ScopedTestHome home;
    const std::string bin = home.path() + "/bin", record = home.path() + "/args";
    ASSERT_EQ(0, mkdir(bin.c_str(), 0755));
    if (c.then != nullptr) {
      ASSERT_TRUE(WriteWholeFile(bin + "/xdg-email", "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" +
                                                         record + "'\n" + c.then + "\n"));
      ASSERT_EQ(0, chmod((bin + "/xdg-email").c_str(), 0755));
    }
    home.SetEnv("PATH", bin.c_str());
    const Status status = HandOffMail(c.mail);
    EXPECT_EQ(c.code, status.code());
    EXPECT_EQ(c.message, status.message());
    EXPECT_EQ(c.args, ReadWholeFile(record));
  }
}

TEST(MailHandOffTest, OnlyOurMailFoldersOlderThanADayAreSwept) {
  ScopedTestHome home;
  const time_t now = time(nullptr);
  struct Case {
    const char* name;  // "": a folder made by CreateMailFolder
    time_t age;
    bool kept;
  } const kCases[] = {
      {"", 24 * 3600 + 60, false}, {"", 23 * 3600, true}, {"other-XXXXXX", 48 * 3600, true}};
  std::vector<std::string> folders;
  for (const Case& c : kCases) {
    std::string folder = home.temp_dir() + "/" + c.name;
    if (*c.name == '\0') ASSERT_TRUE(CreateMailFolder(&folder).ok());
    else ASSERT_EQ(0, mkdir(folder.c_str(), 0700));
    ASSERT_TRUE(WriteWholeFile(folder + "/Calvaro_Report.txt", "x"));
    const utimbuf times = {now - c.age, now - c.age};
    ASSERT_EQ(0, utime(folder.c_str(), &times));
    folders.push_back(folder);
  }
  RemoveStaleMailFolders(now);
  for (size_t i = 0; i < folders.size(); ++i) {
    SCOPED_TRACE(folders[i]);
    struct stat info;
    EXPECT_EQ(kCases[i].kept, stat(folders[i].c_str(), &info) == 0);
  }
}
