"""The window as a user meets it, and the ways it ends."""
import unittest

import tvr


class FrameTest(unittest.TestCase):
    def test_window_opens_centred_with_its_controls(self):
        with tvr.Tovrelle() as app:
            win = app.wait_window()
            self.assertIsNotNone(win, "the window never showed")
            _, left, top, width, height, _ = win
            self.assertEqual((width, height), (400, 250))
            self.assertEqual((left, top), ((1024 - 400) // 2, (768 - 250) // 2))
            for number, text in [(tvr.BUTTON1, "关机"), (tvr.BUTTON2, "重启"), (tvr.BUTTON5, "注销"),
                                 (tvr.BUTTON3, "定时关机"), (tvr.BUTTON4, "定时重启")]:
                self.assertEqual(tvr.probe("text", number), text)
            self.assertTrue(app.running())

    def _ends_with_code_0(self, close):
        with tvr.Tovrelle(debugstr=True) as app:
            self.assertIsNotNone(app.wait_window())
            close(app)
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(app.trace().count('OutputDebugStringA "tovrelle: exit clean-up'), 1)

    def test_escape_ends_the_program(self):
        def esc(app):
            # A right press on a button activates the window without pressing the button, so the key
            # goes to the window.
            app.click_control(tvr.BUTTON1, button=3)
            tvr.key("Escape")
        self._ends_with_code_0(esc)

    def test_alt_f4_ends_the_program(self):
        def alt_f4(app):
            app.click_control(tvr.EDIT1)
            tvr.key("alt+F4")
        self._ends_with_code_0(alt_f4)

    def test_close_box_ends_the_program(self):
        def close_box(app):
            _, left, top, width, _, _ = app.window
            group = app.control_rect(tvr.GROUPBOX1)
            caption_bottom = group[1] + 8  # the group box starts 8 pixels above the client area
            # The close box sits at the right end of the caption bar.
            tvr.click(left + width - 10, top + (caption_bottom - top) // 2)
        self._ends_with_code_0(close_box)


if __name__ == "__main__":
    unittest.main()
