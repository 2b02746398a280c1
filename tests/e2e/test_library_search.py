"""No library that someone put beside the program is ever loaded.

Windows takes a DLL that is not one of its KnownDLLs from the program's own folder first, so a
tovrelle.exe unpacked into Downloads beside a planted DLL would run that DLL's code. Wine
normally prefers its built-in copies; WINEDLLOVERRIDES="NAME=n,b" makes it search the way
Windows does. Stand-in DLLs that leave a marker file when loaded lie beside a copy of the
program while it is driven through start, arming, hidden mode and its end.
"""
import datetime
import os
import re
import shutil
import struct
import tempfile
import time
import unittest

import tvr

# Windows 10/11 KnownDLLs (the 32-bit list under WOW64): always taken from the system
# directory, never from the program's folder. The import table may name only these.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "difxapi.dll",
    "gdi32.dll", "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll",
    "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "wldap32.dll", "ws2_32.dll",
}

# Libraries the program or code like it could load by name. Left out are those Wine's own
# system DLLs take from the program's folder whatever the program does, which Windows' do not:
# uxtheme and msimg32 (Wine's common controls) and version (Wine's gdi32 imports it).
PLANTED = ["powrprof", "dwmapi", "shcore", "oleacc", "shell32", "comctl32", "winmm"]

LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR = 0x100
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800


def image_range(path):
    """(first, end) of the addresses the PE file occupies when loaded at its preferred base."""
    with open(path, "rb") as f:
        data = f.read()
    optional = struct.unpack_from("<I", data, 0x3C)[0] + 24
    base = struct.unpack_from("<I", data, optional + 28)[0]  # PE32 ImageBase
    size = struct.unpack_from("<I", data, optional + 56)[0]  # SizeOfImage
    return base, base + size


def imported_dlls(path):
    """Names in the PE file's import and delay-import tables, lower case."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    sections_count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    sections = []
    for i in range(sections_count):
        at = optional + optional_size + 40 * i
        size, rva, _, raw = struct.unpack_from("<IIII", data, at + 8)
        sections.append((rva, size, raw))

    def offset(rva):
        for start, size, raw in sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(hex(rva))

    def name_at(rva):
        at = offset(rva)
        return data[at:data.index(b"\0", at)].decode("ascii").lower()

    names = []
    for index, entry_size, name_field in [(1, 20, 12), (13, 32, 4)]:  # imports, delay imports
        rva = struct.unpack_from("<I", data, directories + 8 * index)[0]
        if rva == 0:
            continue
        at = offset(rva)
        while any(data[at:at + entry_size]):
            names.append(name_at(struct.unpack_from("<I", data, at + name_field)[0]))
            at += entry_size
    return names


def program_thread(trace, exe):
    """The thread id of the program's own first call to SetDefaultDllDirectories, or None.
    Other processes of the prefix (services.exe and the like) load at the same base."""
    first, end = image_range(exe)
    for tid, ret in re.findall(r"^(\w+):Call KERNEL32\.SetDefaultDllDirectories\(00000800\) ret=(\w+)",
                               trace, re.IGNORECASE | re.MULTILINE):
        if first <= int(ret, 16) < end:
            return tid
    return None


def library_loads(trace, exe, tid):
    """(path, flags) of every LoadLibraryExW the program's own code made on its thread (Wine's
    DLLs make theirs too: the return address tells them apart)."""
    first, end = image_range(exe)
    return [(path, int(flags, 16)) for thread, path, flags, ret in re.findall(
        r'^(\w+):Call KERNEL32\.LoadLibraryExW\(\w+ L"([^"]*)",\w+,(\w+)\) ret=(\w+)', trace,
        re.IGNORECASE | re.MULTILINE) if thread == tid and first <= int(ret, 16) < end]


class LibrarySearchTest(unittest.TestCase):
    def test_the_import_table_names_only_known_dlls(self):
        for exe in [tvr.EXE]:
            names = imported_dlls(exe)
            self.assertIn("kernel32.dll", names, "the table was not read")
            self.assertEqual([n for n in names if n not in KNOWN_DLLS], [], names)

    def test_no_planted_dll_is_loaded_from_start_to_end(self):
        folder = tempfile.mkdtemp(prefix="tovrelle-downloads-")
        try:
            exe = os.path.join(folder, "tovrelle.exe")
            shutil.copy(tvr.EXE, exe)
            shutil.copy(os.path.join(os.path.dirname(tvr.EXE), "SkinH_EL.dll"), folder)
            for name in PLANTED:
                shutil.copy(os.environ["TOVRELLE_PLANTED"], os.path.join(folder, name + ".dll"))
            overrides = os.environ.get("WINEDLLOVERRIDES", "")
            overrides = (overrides + ";" if overrides else "") + ",".join(PLANTED) + "=n,b"
            with tvr.Tovrelle(relay=True, exe=exe, env={"WINEDLLOVERRIDES": overrides}) as app:
                self.assertIsNotNone(app.wait_window(), "the window never showed")
                self.drive_through_a_whole_run(app)
                self.assertEqual(app.wait_exit(), 0)
                trace = app.trace()
            markers = {name: self.marker(folder, name) for name in PLANTED}
            self.assertEqual({n: m for n, m in markers.items() if m}, {},
                             "a planted DLL was loaded")
            # The stand-ins can be loaded at all: the program's way is what kept them out.
            tid = program_thread(trace, exe)
            self.assertIsNotNone(tid, "the library search was not restricted to system32")
            loads = library_loads(trace, exe, tid)
            loaded = {path.lower().rsplit("\\", 1)[-1] for path, _ in loads}
            self.assertTrue({"msimg32.dll", "shell32.dll", "skinh_el.dll"} <= loaded, loaded)
            for path, flags in loads:
                with self.subTest(path):
                    if path.lower() == "comctl32.dll":
                        # By name, so that Windows takes the version the manifest names from
                        # its side-by-side store; otherwise the system directory only.
                        self.assertEqual(flags, LOAD_LIBRARY_SEARCH_SYSTEM32)
                        continue
                    self.assertRegex(path, r"^[A-Za-z]:\\\\", "loaded by name, not by full path")
                    if path.lower().endswith("skinh_el.dll"):
                        self.assertEqual(flags, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
                                         | LOAD_LIBRARY_SEARCH_SYSTEM32)
                    else:
                        self.assertIn("\\\\system32\\\\", path.lower())
                        self.assertEqual(flags, LOAD_LIBRARY_SEARCH_SYSTEM32)
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def marker(self, folder, name):
        path = os.path.join(folder, name + ".dll.loaded")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read().decode("utf-16-le", "replace")

    def drive_through_a_whole_run(self, app):
        # Arming: a schedule far from now, so nothing fires.
        target = datetime.datetime.now() + datetime.timedelta(hours=6)
        self.assertIsNotNone(tvr.arm(app, tvr.BUTTON3, "定时关机成功", target.hour, target.minute, 0))
        # Hidden mode, then back through the tray icon.
        self.assertTrue(tvr.enter_hidden_mode(app), "the window did not hide")
        time.sleep(1.5)  # a few checks of the schedule run while hidden
        tvr.probe("post", "0x8064", 100, "0x202")
        self.assertTrue(tvr.wait_for(lambda: tvr.window_visible(), 5.0))
        # The end: Esc closes the window.
        app.click_control(tvr.BUTTON1, button=3)  # a right press on a button does nothing else
        tvr.key("Escape")


if __name__ == "__main__":
    unittest.main()
