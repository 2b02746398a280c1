"""The status line of the shipped program: the local date and time, once a second."""
import time
import unittest

import tvr

WORDS = "当前时间："


def date_time_text(t):
    """The program's text of a local time (time.struct_time), built here independently."""
    text = f"{t.tm_year}年{t.tm_mon}月{t.tm_mday}日"
    if t.tm_sec:
        text += f"{t.tm_hour}时{t.tm_min}分{t.tm_sec}秒"
    elif t.tm_min:
        text += f"{t.tm_hour}时{t.tm_min}分"
    elif t.tm_hour:
        text += f"{t.tm_hour}时"
    return text


def read_line():
    """(line, wall-clock second before the read, wall-clock second after it)."""
    before = int(time.time())
    line = tvr.probe("text", tvr.LABEL1)
    after = int(time.time())
    return line, before, after


def acceptable_lines(before, after):
    # The line follows the timer's rhythm, not the second boundaries: it may show the second
    # before the read began.
    return {WORDS + date_time_text(time.localtime(s)) for s in range(before - 1, after + 1)}


class ClockLineTest(unittest.TestCase):
    def test_status_line_shows_the_wall_clock_from_the_start(self):
        with tvr.Tovrelle() as app:
            self.assertIsNotNone(app.wait_window(), "the window never showed")
            shown = time.monotonic() - 0.3  # wait_window lets the first paint happen
            line = None
            while time.monotonic() < shown + 2.0:
                line, before, after = read_line()
                if line:
                    break
            self.assertTrue(line, "the status line was still empty two seconds after the start")
            self.assertIn(line, acceptable_lines(before, after),
                          f"read {line!r} between {time.ctime(before)} and {time.ctime(after)}")

            # Refreshed once a second for as long as the program runs.
            time.sleep(1.5)
            later, before, after = read_line()
            self.assertNotEqual(later, line)
            self.assertIn(later, acceptable_lines(before, after))


if __name__ == "__main__":
    unittest.main()
