"""The skin: with SkinH_EL.dll beside the executable the window wears the embedded skin from
its first appearance; without it the window runs unskinned and says nothing."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

import tvr

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import make_skin  # noqa: E402  (the skin's colours come from its generator)

# Points of the client area: an empty spot between the controls, and the status line right of
# where its text ends (inside the group box that holds it).
EMPTY_SPOT = (150, 70)
STATUS_LINE = (385, 12)


def screen_pixel(shot, x, y):
    r = tvr.run(["/usr/bin/convert", shot, "-crop", f"1x1+{x}+{y}", "txt:-"])
    m = re.search(r"\((\d+),(\d+),(\d+)", r.stdout.decode())
    return tuple(int(v) for v in m.groups()) if m else None


def button_face():
    """The system's button face colour of the test prefix, which the unskinned window shows."""
    r = tvr.run(["wine", "reg", "query", r"HKCU\Control Panel\Colors", "/v", "ButtonFace"])
    m = re.search(r"ButtonFace\s+REG_SZ\s+(\d+) (\d+) (\d+)", r.stdout.decode("utf-8", "replace"))
    return tuple(int(v) for v in m.groups()) if m else None


def message_boxes(trace):
    return re.findall(r"Call user32\.MessageBoxW\(.*", trace)


def skin_loads(trace):
    return [line for line in trace.splitlines()
            if "Call KERNEL32.LoadLibraryExW" in line and "skinh_el.dll" in line.lower()]


class SkinTest(unittest.TestCase):
    def first_look(self, app):
        """The client origin and the first screenshot taken once the window shows."""
        win = app.wait_window()
        self.assertIsNotNone(win, "the window never showed")
        group = app.control_rect(tvr.GROUPBOX1)
        origin = (group[0], group[1] + 8)  # the group box starts 8 pixels above the client area
        shot = tempfile.NamedTemporaryFile(prefix="tovrelle-skin-", suffix=".png", delete=False).name
        self.addCleanup(os.unlink, shot)
        tvr.screenshot(shot)
        return win, origin, shot

    def at(self, shot, origin, point):
        return screen_pixel(shot, origin[0] + point[0], origin[1] + point[1])

    def test_the_first_screenshot_wears_the_skin(self):
        exe_dir = os.path.dirname(os.path.abspath(tvr.EXE))
        self.assertTrue(os.path.exists(os.path.join(exe_dir, "SkinH_EL.dll")),
                        "the build puts SkinH_EL.dll beside tovrelle.exe")
        with tvr.Tovrelle(relay=True) as app:
            win, origin, shot = self.first_look(app)
            self.assertEqual(self.at(shot, origin, EMPTY_SPOT), make_skin.BACKGROUND)
            self.assertEqual(self.at(shot, origin, STATUS_LINE), make_skin.BACKGROUND)
            # The band's deepest line lies along the bottom of the client area, a few pixels
            # above the outer bottom edge of the window.
            _, _, top, _, height, _ = win
            column = [screen_pixel(shot, origin[0] + 150, y) for y in range(top + height - 8, top + height)]
            self.assertIn(make_skin.BOTTOM_BAND_OUTER, column)

            loads = skin_loads(app.trace())
            self.assertEqual(len(loads), 1, loads)
            # By full path, from beside the executable, with the library's own folder and the
            # system directory for its dependencies (LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR 0x100 |
            # LOAD_LIBRARY_SEARCH_SYSTEM32 0x800).
            windows_dir = "Z:" + exe_dir.replace("/", "\\\\")
            self.assertIn(f'L"{windows_dir}\\\\SkinH_EL.dll",00000000,00000900)', loads[0])
            self.assertEqual(message_boxes(app.trace()), [])
            self.assertTrue(app.running())

            # The end of the program frees the library it loaded.
            # Activates the window without pressing the button, so the key goes to it.
            app.click_control(tvr.BUTTON1, button=3)
            tvr.key("Escape")
            self.assertEqual(app.wait_exit(), 0)
            trace = app.trace()
            after_load = trace[trace.index(loads[0]):]
            module = re.search(r"Ret  KERNEL32\.LoadLibraryExW\(\) retval=([0-9a-f]+)", after_load).group(1)
            self.assertNotEqual(int(module, 16), 0)
            self.assertRegex(after_load, rf"Call KERNEL32\.FreeLibrary\({module}\)")

    def test_without_the_library_the_window_runs_unskinned_and_silent(self):
        folder = tempfile.mkdtemp(prefix="tovrelle-noskin-")
        self.addCleanup(shutil.rmtree, folder, True)
        exe = os.path.join(folder, "tovrelle.exe")
        shutil.copy(tvr.EXE, exe)
        face = button_face()
        self.assertIsNotNone(face)
        self.assertNotEqual(face, make_skin.BACKGROUND)
        with tvr.Tovrelle(relay=True, exe=exe) as app:
            _, origin, shot = self.first_look(app)
            self.assertEqual(self.at(shot, origin, EMPTY_SPOT), face)
            self.assertEqual(self.at(shot, origin, STATUS_LINE), face)
            trace = app.trace()
            self.assertEqual(skin_loads(trace), [])
            self.assertEqual(message_boxes(trace), [])
            self.assertTrue(app.running())
            # Not merely slow to start: the clock line runs.
            self.assertTrue(tvr.wait_for(lambda: (tvr.probe("text", tvr.LABEL1) or "").startswith("当前时间")))

    def test_the_carried_skin_is_what_its_generator_writes(self):
        with open(os.path.join(ROOT, "resources", "tovrelle.she"), "rb") as f:
            self.assertEqual(f.read(), make_skin.tovrelle_skin())


if __name__ == "__main__":
    unittest.main()
