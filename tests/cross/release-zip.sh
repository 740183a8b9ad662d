#!/usr/bin/env bash
# The Windows release zip as an operator gets it: named with the project's
# version, holding exactly Relvan.exe and README.txt (CRLF), the program small,
# needing only Windows' own DLLs, and carrying the same version in its
# version resource and its About box.
# Needs WINDOWS_BUILD (the build tree where the package target ran); prints
# one line, or the first failure and exits non-zero.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(Relvan VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$version" ] || { echo "release-zip: FAILED: no version in $source_dir/CMakeLists.txt"; exit 1; }
zip="${WINDOWS_BUILD:?}/Relvan-$version-win64.zip"
[ -f "$zip" ] || { echo "release-zip: FAILED: no $zip"; exit 1; }

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

python3 - "$zip" "$version" "$unpacked" <<'PY'
import struct
import sys
import zipfile

zip_path, version, unpacked = sys.argv[1:]


def fail(message):
    sys.exit(f"release-zip: FAILED: {message}")


with zipfile.ZipFile(zip_path) as archive:
    names = sorted(archive.namelist())
    if names != ["README.txt", "Relvan.exe"]:
        fail(f"{zip_path} holds {names}, not exactly Relvan.exe and README.txt")
    archive.extractall(unpacked)
    readme = archive.read("README.txt")
    exe = archive.read("Relvan.exe")

if readme.count(b"\n") == 0 or readme.count(b"\n") != readme.count(b"\r\n") or readme.count(b"\r") != readme.count(b"\r\n"):
    fail("README.txt's lines do not all end in CRLF")
if f"Relvan {version}".encode() not in readme:
    fail(f"README.txt does not name Relvan {version}")

limit = 2 * 1024 * 1024
if len(exe) >= limit:
    fail(f"Relvan.exe has {len(exe)} bytes, not under {limit}")

# VS_FIXEDFILEINFO: the signature, the structure's version, then the file
# and product versions, each as two DWORDs (major.minor, patch.build).
fixed = exe.find(struct.pack("<I", 0xFEEF04BD))
if fixed < 0:
    fail("Relvan.exe has no version resource")
file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", exe, fixed + 8)
def quad(ms, ls):
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
expected_quad = f"{version}.0"
for name, value in (("FILEVERSION", quad(file_ms, file_ls)), ("PRODUCTVERSION", quad(product_ms, product_ls))):
    if value != expected_quad:
        fail(f"Relvan.exe's {name} is {value}, the zip's name says {version}")

# A String of the StringFileInfo: its key, NUL, padding NULs, the value, NUL.
def version_string(key):
    start = exe.find((key + "\0").encode("utf-16-le"))
    if start < 0:
        fail(f"Relvan.exe's version resource has no {key}")
    at = start + 2 * (len(key) + 1)
    while exe[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while exe[end:end + 2] != b"\0\0":
        end += 2
    return exe[at:end].decode("utf-16-le")
for key in ("FileVersion", "ProductVersion"):
    value = version_string(key)
    if value != version:
        fail(f"Relvan.exe's {key} string is {value!r}, the zip's name says {version}")

about = f"Relvan {version}: JTDX to Tolm"
if (about + "\0").encode("utf-16-le") not in exe:
    fail(f"Relvan.exe's About box does not say {about!r}")
PY

# Only DLLs every Windows has: the program is one file to copy.
system_dlls='^(KERNEL32|USER32|GDI32|COMDLG32|COMCTL32|ole32|OLEAUT32|WS2_32|msvcrt|ADVAPI32|SHELL32)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$unpacked/Relvan.exe" | sed -n 's/^\tDLL Name: //p')
[ -n "$dlls" ] || { echo "release-zip: FAILED: objdump lists no DLLs of Relvan.exe"; exit 1; }
others=$(grep -Eiv "$system_dlls" <<<"$dlls" || true)
[ -z "$others" ] || { echo "release-zip: FAILED: Relvan.exe needs DLLs Windows does not have:" $others; exit 1; }

echo "release-zip: $(basename "$zip"): Relvan.exe ($(stat -c %s "$unpacked/Relvan.exe") bytes; DLLs:" $dlls") and README.txt; version $version in the name, the version resource and the About box"
