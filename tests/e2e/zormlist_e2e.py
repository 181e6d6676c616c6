#!/usr/bin/python3
"""zormlist driven as a user would, by xdotool, and watched through AT-SPI. Run in
xvfb-run and dbus-run-session with the arguments ZORMLIST SAMPLE_FILE."""
import os, shutil, subprocess, sys, tempfile, time, unittest


class ZormListTest(unittest.TestCase):
    def wait_for(self, find, what, seconds=30, fail=True):
        deadline = time.monotonic() + seconds
        while not (found := find()):
            if time.monotonic() >= deadline:
                self.assertFalse(fail, "not found within %d s: %s" % (seconds, what))
                return None
            time.sleep(0.2)
        return found

    def shown(self, role, name):  # a wx assertion box fails the test at once
        try:
            for app in (a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "zormlist"):
                found = pyatspi.findDescendant(app, lambda i: ': assert "' in i.name or (
                    i.getRole() == role and i.name == name and i.getState().contains(
                        pyatspi.STATE_SHOWING)))
                self.assertNotIn(': assert "', found.name if found else "", "wx assertion")
                if found:
                    return found
        except GLib.GError:  # an earlier test's program ended while it was being listed
            return None

    def click(self, role, name):
        box = self.wait_for(lambda: self.shown(role, name), name).queryComponent().getExtents(0)
        xdotool("mousemove", "--sync", str(box.x + box.width // 2),
                str(box.y + box.height // 2), "click", "1")

    def answer_box(self, caption, kind, text):  # GTK names a box by the kind its icon shows
        self.wait_for(lambda: self.shown(pyatspi.ROLE_ALERT, kind)
                      and self.shown(pyatspi.ROLE_LABEL, text), text)
        xdotool("search", "--sync", "--onlyvisible", "--name", "^%s$" % caption)
        self.click(pyatspi.ROLE_PUSH_BUTTON, "OK")

    def open_context_menu(self):  # from the keyboard
        # A key pressed while the list still ends a drag is lost: pressed again.
        for _ in range(3):
            xdotool("key", "Menu")
            if self.wait_for(lambda: self.shown(pyatspi.ROLE_MENU, "Copy Column"), "menu",
                             seconds=10, fail=False):
                return
        self.fail("no context menu after three presses of the Menu key")

    def copy_first_column(self, count):
        self.open_context_menu()
        self.click(pyatspi.ROLE_MENU, "Copy Column")
        xdotool("key", "Right")  # a click only highlights a submenu's item
        self.click(pyatspi.ROLE_MENU_ITEM, "Part")
        self.answer_box("Column Copied", "Information", "%d items copied to clipboard." % count)
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                              capture_output=True).stdout

    def test_bad_file_and_no_file(self):
        path = os.path.join(HOME, "missing.txt")
        program = subprocess.Popen([PROGRAM, path])
        self.addCleanup(program.kill)
        self.answer_box("zormlist", "Error",
                        'Cannot open the file "%s": No such file or directory.' % path)
        self.assertEqual(1, program.wait(timeout=30))
        run = subprocess.run([PROGRAM], capture_output=True, text=True, timeout=30)
        self.assertEqual((2, "usage: zormlist [--mail-to ADDRESS]... FILE"),
                         (run.returncode, run.stderr.split("\n")[0]))

    def test_list_opens_focused_without_selection_and_runs_its_commands(self):
        path = shutil.copy(SAMPLE, HOME)
        self.addCleanup(subprocess.Popen([PROGRAM, path]).kill)
        frame = self.wait_for(
            lambda: self.shown(pyatspi.ROLE_FRAME, "zormlist - sample-parts.txt"), "frame")
        focused = self.wait_for(lambda: pyatspi.findDescendant(
            frame, lambda a: a.getState().contains(pyatspi.STATE_FOCUSED)), "focus")
        self.assertEqual("sample-parts.txt", focused.name)
        self.copy_first_column(0)
        xdotool("key", "ctrl+a")
        with open(path, "rb") as f:
            parts = [line.split(b"|")[0] + b"\r\n" for line in f.read().splitlines()[1:]]
        self.assertEqual(b"".join(parts), self.copy_first_column(25))
        with open(path, "ab") as f:
            f.write(b"ZZ-9|Added while shown\n")
        self.open_context_menu()
        self.click(pyatspi.ROLE_MENU_ITEM, "Reload File")
        xdotool("key", "ctrl+a")
        self.assertTrue(self.copy_first_column(26).endswith(b"\r\nZZ-9\r\n"))

    def test_rows_dragged_move_before_the_drop_row_and_stay_selected(self):
        path = shutil.copy(SAMPLE, HOME)
        self.addCleanup(subprocess.Popen([PROGRAM, path]).kill)
        frame = self.wait_for(
            lambda: self.shown(pyatspi.ROLE_FRAME, "zormlist - sample-parts.txt"), "frame")
        box = self.wait_for(lambda: pyatspi.findDescendant(frame, lambda a: a.getState().contains(
            pyatspi.STATE_FOCUSED)), "focus").queryComponent().getExtents(0)
        x, y = str(box.x + 30), lambda row: box.y + row * 23 + 11  # rows 23 pixels high
        # Rows 1 and 2 selected from the keyboard: a click on a cell would open its editor.
        xdotool("key", "Home", "Down", "shift+Down")
        xdotool("mousemove", "--sync", x, str(y(2)), "mousedown", "1")
        for step in range(1, 13):  # from row 2 over rows 3 and 4 onto row 5
            xdotool("mousemove", "--sync", x, str(y(2) + step * 23 * 3 // 12))
            time.sleep(0.1)  # one motion at a time: the list starts a drag after several
        xdotool("mouseup", "1")
        self.assertEqual(b"BR-1002\r\nBR-1003\r\n", self.copy_first_column(2))
        xdotool("key", "Up")  # from the first moved row, now row 3
        self.assertEqual(b"BR-1011\r\n", self.copy_first_column(1))


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    PROGRAM, SAMPLE = (os.path.abspath(p) for p in sys.argv[1:3])
    HOME = tempfile.mkdtemp(prefix="zormlist-e2e-")
    os.environ.pop("GTK_A11Y", None), os.environ.pop("NO_AT_BRIDGE", None)
    os.environ.update(HOME=HOME, TMPDIR=HOME, XDG_CONFIG_HOME=HOME + "/c", XDG_DATA_HOME=HOME,
                      XDG_CONFIG_DIRS=HOME + "/e", ACCESSIBILITY_ENABLED="1",
                      ZORMUPDATESERVER="127.0.0.1:9")  # refused at once: no update check
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    ask = "--session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress"
    while subprocess.run(["dbus-send", *ask.split()], capture_output=True).returncode != 0:
        time.sleep(0.2)
    import pyatspi
    from gi.repository import GLib
    result = unittest.main(argv=sys.argv[:1] + ["-v"], exit=False, warnings="ignore").result
    bus.terminate()
    shutil.rmtree(HOME, ignore_errors=True)
    sys.exit(0 if result.wasSuccessful() else 1)
