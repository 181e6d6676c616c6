// Messages for the user from layers that have no windows of their own. The
// platform layer names what to say; the program's user interface, when it has one,
// installs a handler that shows a message box. Without a handler the message goes
// to standard error as "caption: text".
#pragma once

#include <functional>
#include <string>

// The icon of a message box (the values of the system's MB_ICON flags).
enum class MessageIcon { kNone = 0, kStop = 0x10, kQuestion = 0x20, kWarning = 0x30, kInformation = 0x40 };

using UserMessageHandler =
    std::function<void(const std::string& caption, const std::string& text, MessageIcon icon)>;

// Replaces the handler for the whole process; an empty handler restores standard
// error. Returns the previous handler. Set it before other threads show messages.
UserMessageHandler SetUserMessageHandler(UserMessageHandler handler);

// Shows `text` under `caption` and returns when the user has closed it.
void ShowUserMessage(const std::string& caption, const std::string& text, MessageIcon icon);
