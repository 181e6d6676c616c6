#!/usr/bin/python3
"""zormlist driven from outside, as a user drives it: the program runs in a private
Xvfb with its own session bus and accessibility bus; keys and clicks come from
xdotool, windows, texts and buttons are found by name through AT-SPI.

Usage: zormlist_e2e.py ZORMLIST SAMPLE_FILE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = SAMPLE = None
INSIDE = "ZORMLIST_E2E_INSIDE"


def wait_for(find, what, timeout=20.0):
    """Polls `find` until it returns something; fails the test after `timeout`."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError("not found within %.0f s: %s" % (timeout, what))


def descendants(accessible):
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


def find_in_app(role, name):
    """The first shown accessible of `role` named `name` in the running zormlist."""
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != "zormlist":
            continue
        for accessible in descendants(app):
            if accessible.getRole() == pyatspi.ROLE_LABEL and ': assert "' in accessible.name:
                raise AssertionError("zormlist failed a wx assertion: " + accessible.name)
            if (accessible.getRole() == role and accessible.name == name
                    and accessible.getState().contains(pyatspi.STATE_SHOWING)):
                return accessible
    return None


def click(accessible):
    box = accessible.queryComponent().getExtents(0)  # screen coordinates
    xdotool("mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2),
            "click", "1")


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, stdout=subprocess.DEVNULL)


class ZormListTest(unittest.TestCase):
    def start(self, *args):
        program = subprocess.Popen([PROGRAM, *args], stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE)
        self.addCleanup(self.stop, program)
        return program

    @staticmethod
    def stop(program):
        if program.poll() is None:
            program.terminate()
        program.communicate(timeout=20)

    def answer_message_box(self, caption, kind, text):
        """Finds the message box `caption` showing `text` and presses its OK. GTK
        names a message box by its kind ("Error", "Information"), which its icon shows."""
        import pyatspi
        wait_for(lambda: find_in_app(pyatspi.ROLE_ALERT, kind), kind + " box")
        wait_for(lambda: find_in_app(pyatspi.ROLE_LABEL, text), "text " + text)
        xdotool("search", "--sync", "--onlyvisible", "--name", "^%s$" % caption)
        click(wait_for(lambda: find_in_app(pyatspi.ROLE_PUSH_BUTTON, "OK"), "OK"))

    def test_a_bad_file_is_reported_and_ends_the_program(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        cases = [
            ("missing", None,
             'Cannot open the file "{path}": No such file or directory.'),
            ("empty", b"",
             'The file "{path}" has no header line: its first line must name the columns.'),
            ("too many fields", b"Part|Qty\r\nA|1\r\nB|2|x\r\n",
             'Line 3 of "{path}" has 3 fields, more than the 2 columns of the header.'),
        ]
        for name, contents, message in cases:
            with self.subTest(name):
                path = os.path.join(folder, name.replace(" ", "-") + ".txt")
                if contents is not None:
                    with open(path, "wb") as f:
                        f.write(contents)
                program = self.start(path)
                self.answer_message_box("zormlist", "Error", message.format(path=path))
                self.assertEqual(1, program.wait(timeout=20))

    def test_no_file_named_prints_the_usage(self):
        run = subprocess.run([PROGRAM], capture_output=True, text=True, timeout=20)
        self.assertEqual(2, run.returncode)
        self.assertTrue(run.stderr.startswith("usage: zormlist FILE\n"), run.stderr)

    def choose_from_context_menu(self, *path):
        """Opens the list's context menu from the keyboard and clicks through `path`."""
        import pyatspi
        xdotool("key", "Menu")
        for name in path[:-1]:
            # A click only highlights a submenu's item; the Right key opens it.
            click(wait_for(lambda: find_in_app(pyatspi.ROLE_MENU, name), "menu " + name))
            xdotool("key", "Right")
        click(wait_for(lambda: find_in_app(pyatspi.ROLE_MENU_ITEM, path[-1]), "item " + path[-1]))

    def copy_first_column(self, count):
        """Copy Column of the first column; returns the clipboard's bytes."""
        self.choose_from_context_menu("Copy Column", "Part")
        self.answer_message_box("Column Copied", "Information",
                                "%d items copied to clipboard." % count)
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                              timeout=20).stdout

    def test_the_list_opens_focused_without_selection_and_runs_its_commands(self):
        import pyatspi
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        path = os.path.join(folder, "sample-parts.txt")
        shutil.copy(SAMPLE, path)
        self.start(path)
        frame = wait_for(lambda: find_in_app(pyatspi.ROLE_FRAME, "zormlist - sample-parts.txt"),
                         "the window")
        focused = wait_for(
            lambda: next((a for a in descendants(frame)
                          if a.getState().contains(pyatspi.STATE_FOCUSED)), None),
            "the focused control")
        self.assertEqual("sample-parts.txt", focused.name)
        self.copy_first_column(0)  # nothing selected yet

        with open(path, "rb") as f:
            parts = [line.split(b"|")[0] for line in f.read().splitlines()[1:]]
        xdotool("key", "ctrl+a")
        self.assertEqual(b"".join(p + b"\r\n" for p in parts), self.copy_first_column(25))

        with open(path, "ab") as f:
            f.write(b"ZZ-9999|Added while shown|Nobody|1|1.00\n")
        self.choose_from_context_menu("Reload File")
        xdotool("key", "ctrl+a")
        self.assertTrue(self.copy_first_column(26).endswith(b"\r\nZZ-9999\r\n"))


def run_inside():
    """Inside the private display and session bus: the accessibility bus, then the tests."""
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    try:
        deadline = time.monotonic() + 20
        while subprocess.run(["dbus-send", "--session", "--print-reply",
                              "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                             capture_output=True).returncode != 0:
            if time.monotonic() > deadline:
                sys.exit("the accessibility bus did not start")
            time.sleep(0.2)
        runner = unittest.main(argv=[sys.argv[0], "-v"], exit=False, warnings="ignore")
        return 0 if runner.result.wasSuccessful() else 1
    finally:
        launcher.terminate()
        launcher.wait()


def run_outside():
    """A private X server, home and session bus; this script again inside them."""
    home = tempfile.mkdtemp(prefix="zormlist-e2e-")
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             "1280x1024x24", "-nolisten", "tcp"], pass_fds=[write_end])
    os.close(write_end)
    try:
        with os.fdopen(read_end) as display:
            number = display.readline().strip()
        env = dict(os.environ, DISPLAY=":" + number, HOME=home, TMPDIR=home,
                   XDG_CONFIG_HOME=home + "/config", XDG_CONFIG_DIRS=home + "/etc-xdg",
                   XDG_DATA_HOME=home + "/data", XDG_RUNTIME_DIR=home,
                   ACCESSIBILITY_ENABLED="1", ZORMUPDATESERVER="127.0.0.1:9", **{INSIDE: "1"})
        for name in ("GTK_A11Y", "NO_AT_BRIDGE", "DBUS_SESSION_BUS_ADDRESS"):
            env.pop(name, None)
        return subprocess.run(["dbus-run-session", "--", sys.executable, *sys.argv],
                              env=env).returncode
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    PROGRAM, SAMPLE = (os.path.abspath(p) for p in sys.argv[1:3])
    sys.exit(run_inside() if os.environ.get(INSIDE) == "1" else run_outside())
