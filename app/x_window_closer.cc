#include "app/x_window_closer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>

namespace {

// The top-level window named `title` below `window`, or 0.
Window FindWindowNamed(Display* display, Window window, const char* title) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    const bool match = strcmp(name, title) == 0;
    XFree(name);
    if (match) return window;
  }
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i)
      found = FindWindowNamed(display, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

// The sizes of the icons a window offers the window manager (_NET_WM_ICON).
std::vector<unsigned long> IconSizes(Display* display, Window window) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::vector<unsigned long> sizes;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, 1 << 24,
                         False, XA_CARDINAL, &type, &format, &count, &after, &data) != Success ||
      !data)
    return sizes;
  const unsigned long* values = reinterpret_cast<unsigned long*>(data);
  for (unsigned long i = 0; i + 2 <= count; i += 2 + values[i] * values[i + 1])
    sizes.push_back(values[i]);
  XFree(data);
  return sizes;
}
}  // namespace

XWindowCloser::XWindowCloser(std::string title)
    : m_title(std::move(title)), m_thread([this] { Run(); }) {}

XWindowCloser::~XWindowCloser() {
  if (m_thread.joinable()) m_thread.join();
}

void XWindowCloser::Join() {
  if (m_thread.joinable()) m_thread.join();
}

void XWindowCloser::Run() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  Window window = 0;
  for (int i = 0; i < 300 && !window; ++i) {
    window = FindWindowNamed(display, DefaultRootWindow(display), m_title.c_str());
    if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (window) {
    found = true;
    // The icons come with the dialog's initialisation, just after it shows.
    for (int i = 0; i < 100 && icon_sizes.empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      icon_sizes = IconSizes(display, window);
    }
    XEvent close = {};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = XInternAtom(display, "WM_DELETE_WINDOW", False);
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XFlush(display);
  }
  XCloseDisplay(display);
}
