// Runs risky work, such as reading a package from an unknown source with
// libraries that do not survive every damaged file, in a child process, so that
// a crash there ends only the child. The child reports through messages that
// the parent receives as they come.
#pragma once

#include <functional>
#include <string>

#include "platform/child_messages.h"
#include "util/status.h"

typedef std::function<void(const ChildMessage&)> ChildMessageSender;

// The codes of RunIsolated's errors.
enum : long {
  kIsolatedStopped = 1,  // the receiver or `idle` asked to stop; the child was killed
  kIsolatedDied = 2      // the child crashed, failed, or was silent too long
};

// Forks; the child runs `work(send)` with default signal handling (so the
// program's crash handler never fires for it) and ends with _exit. The parent
// hands each message to `receive` on the calling thread; `receive` returning
// false kills the child. While the child is quiet, `idle` (if set) is called
// about once a second, so the caller can keep its window alive and offer a
// cancel; it too returns false to kill the child. A child silent for
// `silence_limit_seconds` is killed as died. Ok when the work returned and the
// child ended normally; otherwise kIsolatedStopped, or kIsolatedDied with how it
// ended.
Status RunIsolated(const std::function<void(const ChildMessageSender& send)>& work,
                   const std::function<bool(const ChildMessage&)>& receive,
                   const std::function<bool()>& idle, int silence_limit_seconds);
