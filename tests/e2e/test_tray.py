"""The context menu, hidden mode and the tray icon, driven as a user would.

A right press is a real mouse click through xdotool; the menu is chosen with real clicks on
its items. The tray callback is the message the shell would send for a click on the icon.
The Shell_NotifyIconW and TrackPopupMenu calls are read from Wine's relay trace (Wine's
explorer keeps a notification area here, so the shell accepts the add and the delete).
"""
import re
import time
import unittest

import tvr

NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_SETVERSION = 0, 1, 2, 4
TRAY_CALLBACK = "0x8064"
WM_LBUTTONUP, WM_RBUTTONUP, WM_LBUTTONDBLCLK = "0x202", "0x205", "0x203"
WM_CLOSE = "0x10"
NOTICE_TITLE = "提示消息"
NOTICE_TEXT = "右下角后台运行，双击左键打开界面"
IDOK = 1

# Points of the client area: a free spot, and the group box below the status line (it lets
# presses through to the window).
FREE_SPOTS = [(120, 150), (200, 28)]


def notify_calls(trace):
    """(message, result) of every Shell_NotifyIconW call, in order."""
    calls = re.findall(r"Call shell32\.Shell_NotifyIconW\(([0-9a-f]{8}),", trace)
    results = re.findall(r"Ret  shell32\.Shell_NotifyIconW\(\) retval=([0-9a-f]{8})", trace)
    return [(int(m, 16), int(r, 16)) for m, r in zip(calls, results)]


def track_calls(trace):
    """The argument lists of every TrackPopupMenu call."""
    found = re.findall(r"Call user32\.TrackPopupMenu\(([^)]*)\)", trace)
    return [args.split(",") for args in found]


class TrayTest(unittest.TestCase):
    def client_to_screen(self, app, x, y):
        # The group box starts 8 pixels above the client area, at its left edge.
        group = app.control_rect(tvr.GROUPBOX1)
        return group[0] + x, group[1] + 8 + y

    def wait_notify_calls(self, app, count):
        tvr.wait_for(lambda: len(notify_calls(app.trace())) >= count, 5.0)
        return notify_calls(app.trace())

    def visible(self):
        answer = tvr.probe("window")
        return None if answer is None else answer.split()[5] == "1"

    def wait_visible(self, expected, timeout=5.0):
        return tvr.wait_for(lambda: self.visible() == expected, timeout)

    def open_menu(self, app, spot=FREE_SPOTS[0]):
        """Right click on a spot of the client area; the pointer and the menu's rectangle."""
        x, y = self.client_to_screen(app, *spot)
        tvr.click(x, y, button=3)
        menu = tvr.wait_for(lambda: tvr.probe("menu"), 5.0)
        self.assertIsNotNone(menu, f"no menu after a right click at {x},{y}")
        return (x, y), [int(v) for v in menu.split()]

    def choose(self, menu, item):
        """Clicks item 0 or 1 of the open two-item menu."""
        left, top, width, height = menu
        tvr.click(left + width // 2, top + height * (1 + 2 * item) // 4)
        closed = tvr.wait_for(lambda: tvr.probe("menu") is None, 5.0)
        self.assertTrue(closed, "the menu stayed open")

    def enter_hidden_mode(self, app):
        _, menu = self.open_menu(app)
        self.choose(menu, 0)
        self.assertEqual(tvr.wait_for(lambda: tvr.probe("box", NOTICE_TITLE), 5.0), NOTICE_TEXT)
        # The notice comes first; the window is still there behind it.
        self.assertTrue(self.visible())
        self.assertEqual(tvr.probe("press", NOTICE_TITLE, IDOK), "")
        self.assertTrue(self.wait_visible(False), "the window did not hide")

    def close_with_close_box(self, app):
        _, left, top, width, _, _ = app.window
        group = app.control_rect(tvr.GROUPBOX1)
        tvr.click(left + width - 10, top + (group[1] + 8 - top) // 2)

    def test_right_click_opens_the_menu_below_right_of_the_pointer(self):
        with tvr.Tovrelle(relay=True) as app:
            win = app.wait_window()
            self.assertIsNotNone(win)
            cases = [(FREE_SPOTS[0], None), (FREE_SPOTS[1], None), (FREE_SPOTS[0], "shift"),
                     (FREE_SPOTS[1], "ctrl")]
            for spot, held in cases:
                with self.subTest(spot=spot, held=held):
                    if held:
                        tvr.xdotool("keydown", held)
                    try:
                        (x, y), (left, top, width, height) = self.open_menu(app, spot)
                    finally:
                        if held:
                            tvr.xdotool("keyup", held)
                    self.assertEqual((left, top), (x + 3, y + 3))
                    self.assertGreater(width, 0)
                    self.assertGreater(height, 0)
                    # Esc closes it without a choice: nothing happens.
                    tvr.key("Escape")
                    self.assertTrue(tvr.wait_for(lambda: tvr.probe("menu") is None, 5.0))
                    self.assertTrue(self.visible())
                    self.assertIsNone(tvr.probe("box", NOTICE_TITLE))
            self.assertTrue(app.running())
            calls = track_calls(app.trace())
            self.assertEqual(len(calls), 4)
            owner = f"{win[0]:08x}"
            for args in calls:
                self.assertEqual(int(args[1], 16), 2, "TPM_RIGHTBUTTON only")
                self.assertEqual(args[5], owner, "the main window owns the menu")
            self.assertEqual(notify_calls(app.trace()), [])

    def test_right_click_on_a_button_and_the_menu_keys_open_nothing(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window())
            for number in [tvr.BUTTON1, tvr.BUTTON3, tvr.BUTTON5]:
                app.click_control(number, button=3)
            tvr.key("Menu")
            # Shift+F10 last: its F10 release leaves the frame in keyboard menu mode, where Esc
            # would only leave that mode.
            tvr.key("shift+F10")
            time.sleep(1.0)  # a menu would have opened by now; nothing must be there
            self.assertIsNone(tvr.probe("menu"))
            self.assertEqual(track_calls(app.trace()), [])
            self.assertTrue(app.running())
            self.assertTrue(self.visible())

    def test_hidden_mode_then_a_click_on_the_icon_then_closing_removes_it(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window())
            self.enter_hidden_mode(app)
            self.assertEqual(tvr.wait_for(lambda: notify_calls(app.trace()), 5.0), [(NIM_ADD, 1), (NIM_SETVERSION, 1)])
            # A right click and a double click on the icon leave it hidden...
            for mouse in [WM_RBUTTONUP, WM_LBUTTONDBLCLK]:
                self.assertEqual(tvr.probe("post", TRAY_CALLBACK, 100, mouse), "")
            time.sleep(0.5)
            self.assertFalse(self.visible())
            # ...a left click brings the window back, where it was.
            self.assertEqual(tvr.probe("post", TRAY_CALLBACK, 100, WM_LBUTTONUP), "")
            self.assertTrue(self.wait_visible(True), "the window did not come back")
            self.assertEqual(tvr.probe("window").split()[1:5], [str(v) for v in app.window[1:5]])
            self.assertEqual(notify_calls(app.trace()), [(NIM_ADD, 1), (NIM_SETVERSION, 1)], "the icon stays")

            self.close_with_close_box(app)
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(notify_calls(app.trace()), [(NIM_ADD, 1), (NIM_SETVERSION, 1), (NIM_DELETE, 1)])

    def test_hidden_mode_twice_modifies_the_one_icon(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window())
            self.enter_hidden_mode(app)
            tvr.probe("post", TRAY_CALLBACK, 100, WM_LBUTTONUP)
            self.assertTrue(self.wait_visible(True))
            self.enter_hidden_mode(app)
            self.assertEqual(self.wait_notify_calls(app, 3), [(NIM_ADD, 1), (NIM_SETVERSION, 1), (NIM_MODIFY, 1)])
            # Closed while hidden (as the session's end would): the icon goes with the window.
            tvr.probe("post", WM_CLOSE, 0, 0)
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(notify_calls(app.trace())[-1], (NIM_DELETE, 1))

    def test_exit_item_ends_with_code_0(self):
        with tvr.Tovrelle(relay=True, debugstr=True) as app:
            self.assertIsNotNone(app.wait_window())
            _, menu = self.open_menu(app)
            tvr.click(menu[0] + menu[2] // 2, menu[1] + menu[3] * 3 // 4)
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(app.trace().count('OutputDebugStringA "tovrelle: exit clean-up'), 1)
            self.assertEqual(notify_calls(app.trace()), [], "no icon was ever made")

    def test_exit_item_after_hidden_mode_leaves_no_icon_behind(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window())
            self.enter_hidden_mode(app)
            tvr.probe("post", TRAY_CALLBACK, 100, WM_LBUTTONUP)
            self.assertTrue(self.wait_visible(True))
            _, menu = self.open_menu(app)
            tvr.click(menu[0] + menu[2] // 2, menu[1] + menu[3] * 3 // 4)
            self.assertEqual(app.wait_exit(), 0)
            self.assertEqual(notify_calls(app.trace()), [(NIM_ADD, 1), (NIM_SETVERSION, 1), (NIM_DELETE, 1)])

    def arm_shutdown(self, app, hour, minute, second):
        for number, value in [(tvr.EDIT1, hour), (tvr.EDIT2, minute), (tvr.EDIT3, second)]:
            app.click_control(number)
            tvr.type_text(str(value))
        app.click_control(tvr.BUTTON3)
        box = tvr.wait_for(lambda: tvr.probe("box", "定时关机成功"), 5.0)
        self.assertIsNotNone(box, "the schedule was not armed")
        tvr.probe("press", "定时关机成功", IDOK)
        self.assertTrue(tvr.wait_for(lambda: tvr.probe("box", "定时关机成功") is None, 5.0))
        return box

    def test_arming_a_schedule_while_the_icon_is_registered_updates_it(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window())
            self.enter_hidden_mode(app)
            tvr.probe("post", TRAY_CALLBACK, 100, WM_LBUTTONUP)
            self.assertTrue(self.wait_visible(True))
            self.arm_shutdown(app, 22, 30, 0)
            self.assertEqual(self.wait_notify_calls(app, 3), [(NIM_ADD, 1), (NIM_SETVERSION, 1), (NIM_MODIFY, 1)])

    def test_a_schedule_fires_while_the_window_is_hidden(self):
        with tvr.Tovrelle(relay=True) as app:
            self.assertIsNotNone(app.wait_window())
            target = time.localtime(time.time() + 20)
            self.arm_shutdown(app, target.tm_hour, target.tm_min, target.tm_sec)
            self.enter_hidden_mode(app)
            fired = tvr.wait_for(lambda: "Call user32.ExitWindowsEx(" in app.trace(), 40.0, 0.5)
            self.assertTrue(fired, "the scheduled shutdown did not fire behind the hidden window")
            call = re.search(r"Call user32\.ExitWindowsEx\(([0-9a-f]{8})", app.trace())
            self.assertEqual(int(call.group(1), 16) & 0x8, 0x8, "EWX_POWEROFF")


if __name__ == "__main__":
    unittest.main()
