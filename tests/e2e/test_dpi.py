"""The shipped program on a display at 150 % (a Wine prefix whose LogPixels is 144), seen from
outside: the window and its controls at one and a half times their size, still centred, the
themed lines twice as wide, the clock line whole in its label. A screenshot of the window is
kept beside the build for a person to look at."""
import os
import re
import unittest

import tvr

# 96-DPI rectangles of the window definition and what they become at 144 DPI.
SCALED = {
    tvr.BUTTON1: (12, 60, 120, 38), tvr.BUTTON2: (12, 108, 120, 38), tvr.BUTTON5: (12, 156, 120, 38),
    tvr.EDIT1: (228, 156, 60, 30), tvr.EDIT2: (348, 156, 60, 30), tvr.EDIT3: (456, 156, 60, 30),
    tvr.BUTTON3: (312, 252, 120, 38), tvr.BUTTON4: (456, 252, 120, 38),
    tvr.GROUPBOX1: (0, -12, 600, 60),
}
LABEL_UNITS = {0xE8: (300, 156, 30, 30), 0xEA: (420, 156, 30, 30), 0xEB: (540, 156, 30, 30)}
OLIVE = (55, 98, 6)


def shot_pixels(shot, x, y, w, h):
    """{(x, y): (r, g, b)} of an area of a screenshot, 8 bits a part."""
    out = tvr.run(["/usr/bin/convert", shot, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "-depth", "8",
                   "txt:-"]).stdout.decode()
    pixels = {}
    for line in out.splitlines()[1:]:
        m = re.match(r"(\d+),(\d+):\s*\((\d+),(\d+),(\d+)", line)
        if m:
            px, py, r, g, b = (int(v) for v in m.groups())
            pixels[(px, py)] = (r, g, b)
    return pixels


def is_violet(rgb):
    r, g, b = rgb
    return b > 180 and g < 120 and r > 60


class DpiTest(unittest.TestCase):
    def setUp(self):
        prefix = os.environ.get("TOVRELLE_DPI_PREFIX", "")
        if not prefix or not os.path.isdir(prefix):
            self.fail("no Wine prefix at 144 DPI (tools/test.sh makes it): " + prefix)
        self.saved_prefix = os.environ.get("WINEPREFIX")
        os.environ["WINEPREFIX"] = prefix

    def tearDown(self):
        tvr.wineserver_kill()
        if self.saved_prefix is None:
            os.environ.pop("WINEPREFIX", None)
        else:
            os.environ["WINEPREFIX"] = self.saved_prefix

    def test_window_and_controls_at_150_percent(self):
        with tvr.Tovrelle() as app:
            win = app.wait_window()
            self.assertIsNotNone(win, "the window never showed")
            _, left, top, width, height, _ = win
            self.assertEqual((width, height), (600, 375))
            self.assertEqual((left, top), ((1024 - 600) // 2, (768 - 375) // 2))
            group = app.control_rect(tvr.GROUPBOX1)
            origin = (group[0], group[1] + 12)  # the group box starts 12 pixels above the client area
            for number, (x, y, w, h) in list(SCALED.items()) + list(LABEL_UNITS.items()):
                self.assertEqual(app.control_rect(number), [origin[0] + x, origin[1] + y, w, h],
                                 "control 0x%X" % number)

            shot = os.path.join(os.environ.get("TOVRELLE_BIN", "/tmp"), "..", "dpi-150.png")
            tvr.screenshot(shot)

            # The themed button's border: two pixels wide, two pixels in from the edge.
            bx, by, bw, bh = app.control_rect(tvr.BUTTON2)
            column = shot_pixels(shot, bx + bw // 2, by, 1, 6)
            self.assertEqual([column[(0, y)] for y in (2, 3)], [OLIVE, OLIVE], "border rows 2 and 3")
            self.assertNotEqual(column[(0, 4)], OLIVE, "the ring starts at row 4")

            # The clock line: violet, whole, and inside its label with room to spare.
            lx, ly, lw, lh = app.control_rect(tvr.LABEL1)
            self.assertEqual((lw, lh), (576, 24))
            label = shot_pixels(shot, lx, ly, lw, lh)
            violet_x = [x for (x, _), rgb in label.items() if is_violet(rgb)]
            self.assertTrue(violet_x, "no clock line in the label")
            self.assertLess(max(violet_x), lw - 24, "the clock line reaches the label's end")
            self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main()
