"""Scheduled shutdown and restart, typed and pressed as a user does: the notice, the status
line, and the request in the target second, ending through Wine's session end."""
import datetime
import time
import unittest

import tvr
from test_power import EWX_FORCE, PLANNED_REASON, answered_end_session_yes, exit_windows_calls

OK_BUTTON = 1  # IDOK: the one button of the notice box


def type_into(app, box, text):
    app.click_control(box)
    tvr.key("ctrl+a", "BackSpace")
    if text:
        tvr.type_text(text)


def type_target(app, hour, minute, second):
    for box, value in [(tvr.EDIT1, hour), (tvr.EDIT2, minute), (tvr.EDIT3, second)]:
        type_into(app, box, str(value))


class ScheduleTest(unittest.TestCase):
    def test_scheduled_action_fires_in_the_target_second(self):
        for button, title, words, flags in [(tvr.BUTTON3, "定时关机成功", "关机", 0x8),
                                            (tvr.BUTTON4, "定时重启成功", "重启", 0x2)]:
            with self.subTest(title), tvr.Tovrelle(relay=True) as app:
                win = app.wait_window()
                self.assertIsNotNone(win, "the window never showed")
                target_s = int(time.time()) + 3
                target = datetime.datetime.fromtimestamp(target_s)
                type_target(app, target.hour, target.minute, target.second)
                app.click_control(button)
                armed_at = time.time()
                self.assertLess(armed_at, target_s, "typing took too long to test the target second")

                expected = f"将于{target.hour}时{target.minute}分{target.second}秒 {words}"
                self.assertEqual(tvr.wait_for(lambda: tvr.probe("box", title), 2, 0.05), expected)
                self.assertIsNotNone(tvr.probe("press", title, OK_BUTTON))
                self.assertTrue(tvr.wait_for(lambda: tvr.probe("box", title) is None, 2, 0.05),
                                "the notice did not close")
                # The status line picks the suffix up on its next refresh.
                line = tvr.wait_for(lambda: (lambda t: t if t and t.endswith(expected) else None)(
                    tvr.probe("text", tvr.LABEL1)), 2.5, 0.1)
                self.assertIsNotNone(line, "the status line never showed the schedule")
                self.assertTrue(line.startswith("当前时间："), line)
                self.assertTrue(line.endswith("  " + expected), line)
                self.assertEqual(exit_windows_calls(app.trace()), [], "requested before its time")
                # The machine is asked to stay awake from the arming on (Wine 8 only stubs the
                # call: what reaches it is checked through its seam in the Win32 tests).
                self.assertEqual(app.trace().count("Call KERNEL32.PowerCreateRequest("), 1)

                seen = tvr.wait_for(lambda: time.time() if exit_windows_calls(app.trace()) else None,
                                    target_s - time.time() + 3, 0.005)
                self.assertIsNotNone(seen, "nothing was requested")
                # In the target second. The one-second timer drifts by up to a tick per period, so
                # once in a while no check falls into that second at all; the next one, a few
                # milliseconds past its end, fires then. Reading the trace adds a few more.
                self.assertGreaterEqual(seen, target_s)
                self.assertLess(seen, target_s + 1.3)
                self.assertEqual(app.wait_exit(20), 0)
                trace = app.trace()
                calls = exit_windows_calls(trace)
                self.assertEqual(calls, [(flags, PLANNED_REASON)])
                self.assertFalse(calls[0][0] & EWX_FORCE)
                self.assertTrue(answered_end_session_yes(trace, win[0]))

    def test_impossible_target_is_refused_and_nothing_is_armed(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window(), "the window never showed")
            type_target(app, 25, 0, 0)
            app.click_control(tvr.BUTTON3)
            text = tvr.wait_for(lambda: tvr.probe("box", "定时失败"), 2, 0.05)
            self.assertIsNotNone(text, "no refusal notice")
            self.assertIn("0到23", text)
            self.assertIn("0到59", text)
            self.assertIsNone(tvr.probe("box", "定时关机成功"))
            self.assertIsNotNone(tvr.probe("press", "定时失败", OK_BUTTON))
            time.sleep(1.5)
            line = tvr.probe("text", tvr.LABEL1)
            self.assertTrue(line and line.startswith("当前时间："), line)
            self.assertNotIn("将于", line)
            self.assertTrue(app.running())
            self.assertEqual(exit_windows_calls(app.trace()), [])


if __name__ == "__main__":
    unittest.main()
