#!/usr/bin/env bash
# Builds the release zip from a clean build tree: tovrelle.exe, SkinH_EL.dll, the Windows
# user's README and the licence. The same checkout gives the same zip, byte for byte
# (no link time stamps in the executables, fixed dates and order in the archive).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup-debian.sh
tree=build/dist-win32
rm -rf "$tree"
cmake --preset win32 -B "$tree" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$tree" --target tovrelle SkinH_EL
mkdir -p build/dist
out="build/dist/tovrelle-1.0-win32.zip"
python3 - "$out" "$tree/bin/tovrelle.exe" "$tree/bin/SkinH_EL.dll" dist/README-windows.txt LICENSE <<'PY'
import sys, zipfile
out, exe, dll, readme, licence = sys.argv[1:]
entries = [("Tovrelle/tovrelle.exe", exe), ("Tovrelle/SkinH_EL.dll", dll),
           ("Tovrelle/README.txt", readme), ("Tovrelle/LICENSE.txt", licence)]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for name, path in entries:
        data = open(path, "rb").read()
        if name.endswith(".txt"):
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")  # Notepad-friendly
        info = zipfile.ZipInfo(name, date_time=(2026, 12, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        z.writestr(info, data, compresslevel=9)
PY
sha256sum "$out"
echo "release package: $root/$out"
