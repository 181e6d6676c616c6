// Times a GUI program's start-up: from starting it to its window named TITLE
// being on the screen with the program's event loop running (the window answers
// the window manager's ping, which GTK does from its event loop only, so work
// done before the loop runs, such as filling a dialog, is counted).
//
//   window_shown_timer TITLE PROGRAM [ARGS...]
//
// Prints the seconds, then ends the program and prints the processor time (user
// and system, all its threads) it used in its whole life, which ends right after
// its window answered: the wall time depends on the machine's cores and its cost
// of a page fault, the processor time shows the work done. Needs an X server
// without a window manager (Xvfb). Exit status 1 when the window does not appear
// within 60 s.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

double Seconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec + now.tv_nsec / 1e9;
}

std::string WindowTitle(Display* display, Window window) {
  XTextProperty property;
  if (XGetWMName(display, window, &property) == 0 || property.value == nullptr) return "";
  std::string title(reinterpret_cast<char*>(property.value), property.nitems);
  XFree(property.value);
  return title;
}

// Waits for the next X event until `deadline`; false when time ran out.
bool NextEvent(Display* display, XEvent* event, double deadline) {
  while (XPending(display) == 0) {
    const double left = deadline - Seconds();
    if (left <= 0) return false;
    pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left * 1000) + 1);
  }
  XNextEvent(display, event);
  return true;
}

void Ping(Display* display, Window window, Atom protocols, Atom ping) {
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(ping);
  event.xclient.data.l[1] = CurrentTime;
  event.xclient.data.l[2] = static_cast<long>(window);
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

// Ends the program; its processor time in seconds.
double EndProgram(pid_t pid) {
  kill(pid, SIGTERM);
  rusage usage = {};
  bool ended = false;
  for (int i = 0; i < 40 && !ended; ++i) {
    ended = wait4(pid, nullptr, WNOHANG, &usage) == pid;
    if (!ended) usleep(50000);
  }
  if (!ended) {
    kill(pid, SIGKILL);
    wait4(pid, nullptr, 0, &usage);
  }
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fputs("usage: window_shown_timer TITLE PROGRAM [ARGS...]\n", stderr);
    return 2;
  }
  const std::string title = argv[1];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    fputs("window_shown_timer: cannot open the display\n", stderr);
    return 2;
  }
  const Window root = DefaultRootWindow(display);
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const double start = Seconds();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  const double deadline = start + 60;
  Window shown = 0;
  XEvent event;
  while (NextEvent(display, &event, deadline)) {
    if (event.type == MapNotify && shown == 0 && WindowTitle(display, event.xmap.window) == title) {
      shown = event.xmap.window;
      Ping(display, shown, protocols, ping);
    } else if (event.type == ClientMessage && shown != 0 &&
               event.xclient.message_type == protocols &&
               static_cast<Atom>(event.xclient.data.l[0]) == ping &&
               static_cast<Window>(event.xclient.data.l[2]) == shown) {
      printf("%.4f ", Seconds() - start);
      printf("%.4f\n", EndProgram(pid));
      XCloseDisplay(display);
      return 0;
    }
  }
  fprintf(stderr, "window_shown_timer: no window \"%s\" answered within 60 s\n", title.c_str());
  EndProgram(pid);
  XCloseDisplay(display);
  return 1;
}
