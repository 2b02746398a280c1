"""A second start in the same session shows the first program's window instead of opening a
second one with a second schedule, and ends at once with exit code 0."""
import os
import subprocess
import unittest

import tvr
from test_tray import TRAY_CALLBACK, notify_calls


class SingleInstanceTest(unittest.TestCase):
    def start_again(self):
        env = dict(os.environ, WINEDEBUG="-all")
        second = subprocess.Popen(["wine", tvr.EXE], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, env=env)
        try:
            return second.wait(15)
        except subprocess.TimeoutExpired:
            second.kill()
            second.wait()
            return None

    def test_second_start_shows_the_hidden_first_and_ends(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window(), "the window never showed")
            # A schedule, then hidden mode behind the tray icon.
            self.assertIsNotNone(tvr.arm(app, tvr.BUTTON3, "定时关机成功", 23, 0, 0))
            suffix_before = tvr.wait_for(
                lambda: (lambda t: t if t and t.endswith("关机") else None)(
                    tvr.probe("text", tvr.LABEL1)), 3.0)
            self.assertIsNotNone(suffix_before)
            self.assertTrue(tvr.enter_hidden_mode(app), "the window did not hide")
            calls_before = tvr.wait_for(lambda: notify_calls(app.trace()), 5.0)
            self.assertTrue(calls_before, "no tray icon")

            self.assertEqual(self.start_again(), 0, "the second start did not end with 0")
            self.assertTrue(tvr.wait_for(lambda: tvr.window_visible(), 5.0),
                            "the first window did not come back")
            self.assertEqual(tvr.probe("count"), "1", "a second window was opened")
            self.assertTrue(app.running())
            # The first program's schedule and tray icon are as they were.
            self.assertTrue(tvr.probe("text", tvr.LABEL1).endswith(suffix_before.split("  ", 1)[1]))
            self.assertEqual(notify_calls(app.trace()), calls_before, "the icon was touched")
            # Shown and reachable as after a click on its icon: the icon still brings it back.
            self.assertEqual(tvr.probe("post", TRAY_CALLBACK, 100, "0x202"), "")
            self.assertEqual(tvr.probe("count"), "1")

    def test_second_start_of_a_shown_window_keeps_one(self):
        with tvr.Tovrelle() as app:
            self.assertIsNotNone(app.wait_window(), "the window never showed")
            for _ in range(2):
                self.assertEqual(self.start_again(), 0)
            self.assertEqual(tvr.probe("count"), "1")
            self.assertEqual(tvr.probe("window").split()[5], "1")
            self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main()
