"""The three power buttons, clicked as a user clicks them: each asks Windows once, unforced,
and the program lets the session end. Wine ends every process of the prefix on a logoff or
shutdown, so each case runs under its own fresh wineserver."""
import re
import unittest

import tvr

EWX_FORCE = 0x4
# SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED
PLANNED_REASON = 0x80000000
EXIT_CALL = re.compile(r"Call user32\.ExitWindowsEx\(([0-9A-Fa-f]{8}),([0-9A-Fa-f]{8})\)")


def exit_windows_calls(trace):
    """(flags, reason) of every ExitWindowsEx the program made."""
    return [(int(f, 16), int(r, 16)) for f, r in EXIT_CALL.findall(trace)]


def answered_end_session_yes(trace, hwnd):
    """Whether the window answered WM_QUERYENDSESSION with yes (the relay trace of its proc)."""
    pattern = re.compile(r"Ret  window proc \w+ \(hwnd=0*%x,msg=WM_QUERYENDSESSION,[^)]*\) retval=(\w+)"
                         % hwnd, re.IGNORECASE)
    answers = pattern.findall(trace)
    return bool(answers) and all(int(a, 16) == 1 for a in answers)


class PowerButtonTest(unittest.TestCase):
    def test_each_button_requests_its_action_once_without_force(self):
        for button, caption, flags in [(tvr.BUTTON1, "关机", 0x8),  # EWX_POWEROFF: NT family
                                       (tvr.BUTTON2, "重启", 0x2),  # EWX_REBOOT
                                       (tvr.BUTTON5, "注销", 0x0)]:  # EWX_LOGOFF
            with self.subTest(caption), tvr.Tovrelle(relay=True) as app:
                win = app.wait_window()
                self.assertIsNotNone(win, "the window never showed")
                self.assertEqual(tvr.probe("text", button), caption)
                app.click_control(button)
                # Wine's session end: the question to every window, then every process ends.
                self.assertEqual(app.wait_exit(20), 0)
                trace = app.trace()
                calls = exit_windows_calls(trace)
                # Logged by Windows as a planned shutdown, not as an unexplained one.
                self.assertEqual(calls, [(flags, PLANNED_REASON)])
                self.assertFalse(calls[0][0] & EWX_FORCE)
                self.assertTrue(answered_end_session_yes(trace, win[0]),
                                "the main window did not say yes to WM_QUERYENDSESSION")
                self.assertNotIn("Call user32.MessageBoxW", trace, "a notice came up")


if __name__ == "__main__":
    unittest.main()
