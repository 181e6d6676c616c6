// Test support: closes a program's window from outside, as a window manager does
// when the operator clicks the close box. Talks to the X server of $DISPLAY on a
// thread of its own, so the test can wait for the program meanwhile.
#pragma once

#include <string>
#include <thread>
#include <vector>

class XWindowCloser {
 public:
  // Starts waiting (up to 30 s) for a window named `title`; once it shows its
  // icons (or 10 s have passed), notes them and sends it WM_DELETE_WINDOW.
  explicit XWindowCloser(std::string title);
  ~XWindowCloser();
  XWindowCloser(const XWindowCloser&) = delete;
  XWindowCloser& operator=(const XWindowCloser&) = delete;

  // Waits until the window was closed or never came.
  void Join();

  bool found = false;                     // the window appeared
  std::vector<unsigned long> icon_sizes;  // widths of its _NET_WM_ICON images

 private:
  void Run();

  std::string m_title;
  std::thread m_thread;
};
