// Shows the platform layer's user messages (user_message.h) as wx message boxes,
// with the caption, text and icon they name and an OK button.
#pragma once

// Installs the message-box handler for the whole process. Call once the wx
// application object exists; messages shown from other threads than the GUI
// thread must not happen while it is installed.
void InstallUserMessageBoxes();
