"""The theming layer as the shipped program shows it: colour scheme 2 on the five buttons, the
three edit boxes and the group box from the first screenshot, the hot ring under a real pointer,
and the OK button of a notice box."""
import os
import re
import subprocess
import tempfile
import time
import unittest

import tvr

BORDER = (55, 98, 6)           # 0x00066237
WHITE = (255, 255, 255)
PALE_YELLOW = (255, 240, 207)  # top of the hot and focused ring
ORANGE = (229, 151, 0)         # bottom of it
FACE_TOP = (252, 252, 251)     # 0x00FBFCFC
FACE_BOTTOM = (236, 225, 201)  # 0x00C9E1EC
EDIT_FRAME = (164, 185, 127)   # 0x007FB9A4
GROUP_FRAME = (191, 184, 191)  # 0x00BFB8BF

BUTTONS = [tvr.BUTTON1, tvr.BUTTON2, tvr.BUTTON3, tvr.BUTTON4, tvr.BUTTON5]
EDITS = [tvr.EDIT1, tvr.EDIT2, tvr.EDIT3]


class Shot:
    """A screenshot's pixels, read once: (x, y) in screen pixels -> (r, g, b)."""

    def __init__(self, path):
        r = tvr.run(["/usr/bin/convert", path, "txt:-"], timeout=120)
        self.pixels = {(int(m[1]), int(m[2])): (int(m[3]), int(m[4]), int(m[5]))
                       for m in re.finditer(r"^(\d+),(\d+): \((\d+),(\d+),(\d+)", r.stdout.decode(), re.M)}

    def at(self, x, y):
        return self.pixels.get((x, y))


def live_pixel(x, y):
    """A screen pixel now, in 8 bits a part (tvr.pixel answers in the 16 bits import uses)."""
    r = tvr.run(["/usr/bin/import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"])
    m = re.search(r"\((\d+),(\d+),(\d+)", r.stdout.decode())
    return tuple(int(v) for v in m.groups()) if m else None


def close(a, b, tolerance):
    return a is not None and all(abs(p - q) <= tolerance for p, q in zip(a, b))


def x_window(title):
    """left, top, width, height of the X window with that title, or None."""
    r = subprocess.run(["xdotool", "search", "--name", title], stdout=subprocess.PIPE,
                       stderr=subprocess.DEVNULL)
    for wid in r.stdout.decode().split():
        g = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL).stdout.decode()
        values = dict(line.split("=", 1) for line in g.splitlines() if "=" in line)
        if {"X", "Y", "WIDTH", "HEIGHT"} <= values.keys():
            return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
    return None


class ThemeTest(unittest.TestCase):
    def screenshot(self):
        path = tempfile.NamedTemporaryFile(prefix="tovrelle-theme-", suffix=".png", delete=False).name
        self.addCleanup(os.unlink, path)
        tvr.screenshot(path)
        return Shot(path)

    def assertPixel(self, shot, x, y, want, tolerance, what):
        got = shot.at(x, y)
        self.assertTrue(close(got, want, tolerance), f"{what} at ({x}, {y}): {got}, expected {want}")

    def test_screenshot_shows_the_themed_controls(self):
        with tvr.Tovrelle() as app:
            self.assertIsNotNone(app.wait_window(), "the window never showed")
            tvr.xdotool("mousemove", "--sync", 2, 2)  # the pointer over none of them
            # The status line fills on the first tick of the clock.
            self.assertTrue(tvr.wait_for(lambda: (tvr.probe("text", tvr.LABEL1) or "").startswith("当前时间")))
            time.sleep(0.3)
            shot = self.screenshot()
            for number in BUTTONS:
                left, top, w, h = app.control_rect(number)
                self.assertEqual((w, h), (80, 25))
                what = f"button {number:#x}"
                self.assertPixel(shot, left + w // 2, top + 1, BORDER, 0, what + " border, top")
                self.assertPixel(shot, left + 1, top + h // 2, BORDER, 0, what + " border, left")
                self.assertPixel(shot, left + w // 2, top + h - 2, BORDER, 0, what + " border, bottom")
                self.assertPixel(shot, left + w // 2, top + 4, FACE_TOP, 3, what + " face, top")
                self.assertPixel(shot, left + w // 2, top + h - 5, FACE_BOTTOM, 8, what + " face, bottom")
                # 按钮1 has the focus after start: the pale-yellow-to-orange ring.
                ring_top, ring_bottom = (PALE_YELLOW, ORANGE) if number == tvr.BUTTON1 else (WHITE, (226, 223, 214))
                self.assertPixel(shot, left + w // 2, top + 2, ring_top, 2, what + " ring, top")
                self.assertPixel(shot, left + w // 2, top + h - 3, ring_bottom, 12, what + " ring, bottom")
            for number in EDITS:
                left, top, w, h = app.control_rect(number)
                what = f"edit box {number:#x}"
                self.assertPixel(shot, left + w // 2, top, EDIT_FRAME, 0, what + " outer line")
                self.assertPixel(shot, left, top + h // 2, EDIT_FRAME, 0, what + " outer line, left")
                self.assertPixel(shot, left + w - 1, top + h // 2, EDIT_FRAME, 0, what + " outer line, right")
                self.assertPixel(shot, left + w // 2, top + h - 1, EDIT_FRAME, 0, what + " outer line, bottom")
                self.assertPixel(shot, left + w // 2, top + 1, WHITE, 0, what + " inner line")
                self.assertPixel(shot, left + 1, top + h // 2, WHITE, 0, what + " inner line, left")
            left, top, w, h = app.control_rect(tvr.GROUPBOX1)
            self.assertPixel(shot, left + 200, top + h - 1, GROUP_FRAME, 0, "group box, bottom line")
            self.assertPixel(shot, left, top + 30, GROUP_FRAME, 0, "group box, left line")
            self.assertFalse(close(shot.at(left + 200, top + h - 2), GROUP_FRAME, 0),
                             "a 1-pixel line")
            # Rounded: the corner pixel goes back to the background, the diagonal carries the line.
            self.assertFalse(close(shot.at(left, top + h - 1), GROUP_FRAME, 0), "the corner itself")
            self.assertPixel(shot, left + 1, top + h - 3, GROUP_FRAME, 0, "group box, rounded corner")
            self.assertPixel(shot, left + 2, top + h - 2, GROUP_FRAME, 0, "group box, rounded corner")
            # The status line inside it still shows.
            label = app.control_rect(tvr.LABEL1)
            violet = [shot.at(x, label[1] + label[3] // 2) for x in range(label[0], label[0] + 120, 2)]
            self.assertTrue(any(p[2] > 200 and p[1] < 120 for p in violet if p), violet)

    def test_ring_lights_up_under_the_pointer(self):
        with tvr.Tovrelle() as app:
            self.assertIsNotNone(app.wait_window(), "the window never showed")
            left, top, w, h = app.control_rect(tvr.BUTTON2)
            tvr.xdotool("mousemove", "--sync", 2, 2)
            time.sleep(0.3)
            self.assertEqual(live_pixel(left + w // 2, top + 2), WHITE)
            tvr.xdotool("mousemove", "--sync", left + w // 2, top + h // 2)
            self.assertTrue(tvr.wait_for(lambda: close(live_pixel(left + w // 2, top + 2), PALE_YELLOW, 2), 5),
                            live_pixel(left + w // 2, top + 2))
            self.assertTrue(close(live_pixel(left + w // 2, top + h - 3), ORANGE, 12))
            tvr.xdotool("mousemove", "--sync", left + w + 60, top + h // 2)
            self.assertTrue(tvr.wait_for(lambda: live_pixel(left + w // 2, top + 2) == WHITE, 5),
                            live_pixel(left + w // 2, top + 2))

    def test_notice_box_ok_button_wears_the_scheme(self):
        with tvr.Tovrelle() as app:
            self.assertIsNotNone(app.wait_window(), "the window never showed")
            # "定时关机" with empty boxes arms the shutdown for 0:0:0 and confirms it in a notice box.
            app.click_control(tvr.BUTTON3)
            title = "定时关机成功"
            self.assertTrue(tvr.wait_for(lambda: tvr.probe("box", title) is not None), "no notice box")
            tvr.xdotool("mousemove", "--sync", 2, 2)
            box = tvr.wait_for(lambda: x_window(title), 5)
            self.assertIsNotNone(box, "the notice box has no X window")
            time.sleep(0.5)
            shot = self.screenshot()
            bx, by, bw, bh = box
            # The box's OK button: the only push button in it, so the olive border in the box is its.
            border = [(x, y) for x in range(bx, bx + bw) for y in range(by, by + bh) if shot.at(x, y) == BORDER]
            self.assertGreater(len(border), 100, "no olive-bordered button in the notice box")
            xs = [p[0] for p in border]
            ys = [p[1] for p in border]
            top, bottom, mid = min(ys), max(ys), (min(xs) + max(xs)) // 2
            # The focused OK button: the orange ring inside the border, a near-white face.
            self.assertPixel(shot, mid, top + 1, PALE_YELLOW, 2, "OK button, ring top")
            self.assertPixel(shot, mid, bottom - 1, ORANGE, 16, "OK button, ring bottom")
            self.assertPixel(shot, mid, top + 3, FACE_TOP, 3, "OK button, face top")
            self.assertEqual(tvr.probe("press", title, 1), "")


if __name__ == "__main__":
    unittest.main()
