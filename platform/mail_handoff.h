// Hands a new e-mail to the desktop's mail composer through xdg-email, which
// shows it to the user for editing before anything is sent. The tool is found on
// PATH and run directly, never through a shell.
//
// An attachment is handed over by path, and the composer may read it only when
// the user sends, long after the hand-off returned; so attachments live in a
// private folder of their own (CreateMailFolder) that is kept after a successful
// hand-off and swept away by a later e-mail export once it is a day old
// (RemoveStaleMailFolders).
//
// Calls keep no state; any thread may use them.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "util/status.h"

// Codes of a failed hand-off.
enum : long {
  kMailToolMissing = 1,  // xdg-email is not on PATH
  kMailToolFailed = 2,   // xdg-email ran and refused the message
};

struct MailMessage {
  std::string subject;
  std::string body;
  std::vector<std::string> recipients;  // "To" addresses, in order
  std::string attachment;               // path of the file to attach; empty: none
};

// Gives `message` to the mail composer and waits until xdg-email has taken it (at
// most a few seconds). Ok when it did; kMailToolMissing or kMailToolFailed with a
// message saying why otherwise. A recipient that starts with '-' is refused
// (kMailToolFailed) rather than read by the tool as an option.
Status HandOffMail(const MailMessage& message);

// Creates a new folder only this user can enter, "calvaro-mail-XXXXXX" in
// TempFolder(), and puts its path (no trailing slash) in *folder.
Status CreateMailFolder(std::string* folder);

// Removes a folder made by CreateMailFolder with the files in it; quietly does
// what it can.
void RemoveMailFolder(const std::string& folder);

// Removes the mail folders in TempFolder() last changed more than a day before
// `now`: their composers have long read the attachments.
void RemoveStaleMailFolders(time_t now);
