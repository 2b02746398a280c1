#!/usr/bin/env python3
"""Figures of the shipped tovrelle.exe under Wine, beside two baselines built with the same
flags: a bare program (an empty 400 x 250 window and a message loop) and a plain program (the
same window and controls from the same window definition, with none of their behaviour).

Each figure is the median of several runs. CPU time is read from the Linux side
(/proc/PID/task/*/schedstat of the program's Wine process plus its wineserver's share), because under Wine
GetProcessTimes on another process reads 0. Prints figures; judges nothing.

Usage: bench.py BIN_DIR [--runs N] [--idle-seconds S] [--soak N]
(WINEPREFIX and DISPLAY come from the environment.)
"""
import argparse
import os
import statistics
import subprocess
import time

PROGRAMS = [("tovrelle", "tovrelle.exe"), ("bare", "baseline_bare.exe"), ("plain", "baseline_plain.exe")]


def wine(bin_dir, *args, timeout=600):
    r = subprocess.run(["wine"] + list(args), cwd=bin_dir, stdout=subprocess.PIPE,
                       stderr=subprocess.DEVNULL, timeout=timeout)
    return r.returncode, r.stdout.decode("utf-8", "replace").strip()


def wineserver_pid():
    st = os.stat(os.environ["WINEPREFIX"])
    tag = "server-%x-%x" % (st.st_dev, st.st_ino)
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            if os.path.basename(os.readlink(f"/proc/{pid}/cwd")) == tag:
                with open(f"/proc/{pid}/comm") as f:
                    if f.read().startswith("wineserver"):
                        return int(pid)
        except OSError:
            pass
    return None


def cpu_ms(pid):
    """CPU time of all the process's threads, from the scheduler's nanosecond account
    (/proc/PID/task/*/schedstat); utime and stime of /proc/PID/stat count whole clock ticks
    of 10 ms, too coarse for a program that wakes once a second."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except OSError:
            pass  # a thread that ended meanwhile
    return total / 1e6


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def wait_window(bin_dir, timeout=20):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        code, _ = wine(bin_dir, "launcher.exe", "ready")
        if code == 0:
            return True
        time.sleep(0.2)
    return False


def reset():
    subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], stderr=subprocess.DEVNULL)


def startup_runs(bin_dir, runs):
    times = {name: [] for name, _ in PROGRAMS}
    wine(bin_dir, "launcher.exe", "startup", "baseline_bare.exe")  # warms Wine's own DLLs
    for _ in range(runs):
        for name, exe in PROGRAMS:  # interleaved, so drift of the machine hits all alike
            code, out = wine(bin_dir, "launcher.exe", "startup", exe)
            if code == 0:
                times[name].append(float(out))
    return {name: statistics.median(v) if v else float("nan") for name, v in times.items()}


def idle_and_memory(bin_dir, exe, seconds, soak, hidden=False):
    """((program, wineserver) idle CPU ms per minute, RSS after start, RSS after soak or None);
    hidden: the window is hidden first, as hidden mode does, where the program waits for hours"""
    reset()
    proc = subprocess.Popen(["wine", exe], cwd=bin_dir, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        if not wait_window(bin_dir):
            return (float("nan"), float("nan")), float("nan"), None
        if hidden:
            wine(bin_dir, "launcher.exe", "hide")
        time.sleep(3)  # start-up settles
        server = wineserver_pid()
        rss_start = rss_mib(proc.pid)
        c0, s0 = cpu_ms(proc.pid), cpu_ms(server) if server else 0.0
        time.sleep(seconds)
        c1, s1 = cpu_ms(proc.pid), cpu_ms(server) if server else 0.0
        idle = ((c1 - c0) * 60.0 / seconds, (s1 - s0) * 60.0 / seconds)
        rss_soak = None
        if soak:
            wine(bin_dir, "launcher.exe", "soak", str(soak), timeout=3600)
            time.sleep(1)
            rss_soak = rss_mib(proc.pid)
        return idle, rss_start, rss_soak
    finally:
        wine(bin_dir, "launcher.exe", "close")
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
        reset()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bin_dir")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--idle-seconds", type=float, default=60)
    ap.add_argument("--idle-runs", type=int, default=3)
    ap.add_argument("--soak", type=int, default=86400)
    a = ap.parse_args()
    b = a.bin_dir

    print(f"== start-up: process start until the window and its controls are painted "
          f"(median of {a.runs} interleaved runs)")
    s = startup_runs(b, a.runs)
    for name, _ in PROGRAMS:
        print(f"  {name:9s} {s[name]:8.1f} ms")
    print(f"  tovrelle / bare  = {s['tovrelle'] / s['bare']:.2f}x")
    print(f"  tovrelle / plain = {s['tovrelle'] / s['plain']:.2f}x")

    print(f"== idle CPU over {a.idle_seconds:g} s of waiting (ms of CPU per minute, "
          f"median of {a.idle_runs}) and resident memory after start")
    idle, rss = {}, {}
    rss_after_soak = None
    for name, exe in PROGRAMS:
        results = []
        for i in range(a.idle_runs):
            soak = a.soak if (name == "tovrelle" and i == 0) else 0
            results.append(idle_and_memory(b, exe, a.idle_seconds, soak))
            if soak:
                rss_after_soak = results[-1][2]
        own = statistics.median(r[0][0] for r in results)
        server = statistics.median(r[0][1] for r in results)
        idle[name] = (own, server)
        rss[name] = statistics.median(r[1] for r in results)
        print(f"  {name:9s} program {own:7.1f} + wineserver {server:7.1f} = {own + server:7.1f} ms/min"
              f"   RSS {rss[name]:6.2f} MiB")
    # The wineserver also serves Wine's own processes of the prefix (explorer, services, ...):
    # the bare baseline shows that floor, so what the program adds is measured against it.
    extra = idle["tovrelle"][0] + idle["tovrelle"][1] - idle["bare"][1]
    print(f"  idle CPU attributable to tovrelle (program + wineserver above the bare baseline's): "
          f"{extra:.1f} ms/min")
    hidden = statistics.median(
        idle_and_memory(b, "tovrelle.exe", a.idle_seconds, 0, hidden=True)[0][0] for _ in range(a.idle_runs))
    print(f"  tovrelle with its window hidden: program {hidden:7.1f} ms/min")
    print(f"  memory: tovrelle - bare = {rss['tovrelle'] - rss['bare']:+.2f} MiB, "
          f"tovrelle - plain = {rss['tovrelle'] - rss['plain']:+.2f} MiB")
    if rss_after_soak is not None:
        print(f"  after {a.soak} clock refreshes sent from outside: RSS {rss_after_soak:.2f} MiB")

    print("== soak inside the process (86,400 refreshes, 10,000 caption redraws)")
    code, out = wine(b, "soak.exe", str(a.soak), "10000", timeout=7200)
    for line in out.splitlines():
        print("  " + line)

    print("== size")
    for f in ("tovrelle.exe", "SkinH_EL.dll", "baseline_bare.exe", "baseline_plain.exe"):
        p = os.path.join(b, f)
        if os.path.exists(p):
            print(f"  {f:20s} {os.path.getsize(p) / 1024.0:8.1f} KiB")


if __name__ == "__main__":
    main()
