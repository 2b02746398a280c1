"""Drives the shipped tovrelle.exe under Wine from the Linux side.

Real input goes through xdotool (X events, as a user's mouse and keyboard make them);
probe.exe, run in the same Wine prefix, reports what the windows show. The caller's
environment supplies WINEPREFIX and DISPLAY (tools/test.sh sets them up).
"""
import os
import re
import subprocess
import tempfile
import time

EXE = os.environ.get("TOVRELLE_EXE", "")
PROBE = os.environ.get("TOVRELLE_PROBE", "")

# Control numbers (the low half of each control's identity).
BUTTON1, BUTTON2, BUTTON3, BUTTON4, BUTTON5 = 0xE2, 0xE3, 0xE4, 0xE5, 0xE6
EDIT1, EDIT2, EDIT3 = 0xE7, 0xE9, 0xEC
LABEL1 = 0xDE
GROUPBOX1 = 0xDC


def run(cmd, timeout=30, **kw):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          timeout=timeout, **kw)


def wineserver_kill():
    subprocess.run(["wineserver", "-k"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def probe(*args):
    """probe.exe's answer, or None when it found nothing."""
    r = run(["wine", PROBE] + [str(a) for a in args])
    if r.returncode != 0:
        return None
    return r.stdout.decode("utf-8", "replace").rstrip("\r\n")


def wait_for(predicate, timeout=10.0, interval=0.1):
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= end:
            return value
        time.sleep(interval)


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def click(x, y, button=1):
    xdotool("mousemove", "--sync", x, y)
    time.sleep(0.05)
    xdotool("click", button)


def key(*names):
    for name in names:
        xdotool("key", "--delay", 30, name)


def type_text(text):
    xdotool("type", "--delay", 40, text)


def pixel(x, y):
    """(r, g, b) of a screen pixel."""
    r = run(["/usr/bin/import", "-window", "root", "-crop", f"1x1+{x}+{y}", "txt:-"])
    m = re.search(r"\((\d+),(\d+),(\d+)", r.stdout.decode())
    return tuple(int(v) for v in m.groups()) if m else None


def screenshot(path):
    run(["/usr/bin/import", "-window", "root", path], timeout=60)


def window_visible():
    answer = probe("window")
    return None if answer is None else answer.split()[5] == "1"


def dismiss_notice(title, timeout=5.0):
    """Presses OK on the notice box with that title; its text, or None when none came."""
    text = wait_for(lambda: probe("box", title), timeout)
    if text is not None:
        probe("press", title, 1)
        wait_for(lambda: probe("box", title) is None, timeout)
    return text


def arm(app, button, title, hour, minute, second):
    """Types the target into the three boxes, presses an arming button and dismisses its
    notice; the notice's text."""
    for box, value in [(EDIT1, hour), (EDIT2, minute), (EDIT3, second)]:
        app.click_control(box)
        key("ctrl+a", "BackSpace")
        type_text(str(value))
    app.click_control(button)
    return dismiss_notice(title)


def enter_hidden_mode(app):
    """隐身运行 through the menu of a right click on a free spot, and its notice dismissed;
    whether the window then hid."""
    group = app.control_rect(GROUPBOX1)
    click(group[0] + 120, group[1] + 8 + 150, button=3)
    menu = wait_for(lambda: probe("menu"), 5.0)
    if menu is None:
        return False
    left, top, width, height = [int(v) for v in menu.split()]
    click(left + width // 2, top + height // 4)
    if dismiss_notice("提示消息") is None:
        return False
    return bool(wait_for(lambda: window_visible() is False, 5.0))


class Tovrelle:
    """One run of the program, under a fresh wineserver."""

    def __init__(self, relay=False, debugstr=False, exe=None, cwd=None, env=None):
        self.exe = exe or EXE
        self.extra_env = env or {}
        self.relay = relay
        self.debugstr = debugstr
        self.cwd = cwd
        self.proc = None
        self.log = tempfile.NamedTemporaryFile(prefix="tovrelle-", suffix=".log", delete=False)

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        wineserver_kill()
        env = dict(os.environ)
        channels = []
        if self.relay:
            channels.append("+relay")
        if self.debugstr:
            channels.append("warn+seh")  # OutputDebugString shows up on this channel
        env["WINEDEBUG"] = ",".join(channels) if channels else "-all"
        env.update(self.extra_env)
        self.proc = subprocess.Popen(["wine", self.exe], stdout=subprocess.DEVNULL,
                                     stderr=self.log, env=env, cwd=self.cwd)
        self.window = None

    def wait_window(self, timeout=20.0):
        """(hwnd, left, top, width, height, visible) once the main window shows."""
        def shown():
            answer = probe("window")
            if answer:
                fields = [int(v) for v in answer.split()]
                if fields[5] == 1:
                    return fields
            return None
        self.window = wait_for(shown, timeout, 0.2)
        if self.window:
            time.sleep(0.3)  # the first paint
        return self.window

    def control_rect(self, number):
        answer = probe("rect", number)
        return [int(v) for v in answer.split()] if answer else None

    def click_control(self, number, button=1, dx=None, dy=None):
        left, top, w, h = self.control_rect(number)
        click(left + (w // 2 if dx is None else dx), top + (h // 2 if dy is None else dy), button)

    def wait_exit(self, timeout=15.0):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def trace(self):
        self.log.flush()
        with open(self.log.name, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def stop(self):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        wineserver_kill()
        self.log.close()
        os.unlink(self.log.name)
