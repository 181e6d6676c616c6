#include "platform/user_message.h"

#include <cstdio>
#include <utility>

namespace {

UserMessageHandler& Handler() {
  static UserMessageHandler handler;
  return handler;
}

}  // namespace

UserMessageHandler SetUserMessageHandler(UserMessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

void ShowUserMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
  if (Handler()) {
    Handler()(caption, text, icon);
    return;
  }
  fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
