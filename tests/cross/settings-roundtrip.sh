#!/usr/bin/env bash
# The settings file written by the Linux build reads back identically in the
# Windows build under Wine, and the other way round, also after a hand edit.
# Needs NATIVE_BUILD and WINDOWS_BUILD (the two build trees); prints one line
# and exits non-zero on any mismatch.
set -uo pipefail

native_probe="${NATIVE_BUILD:?}/tests/settings/settings-probe"
windows_probe="${WINDOWS_BUILD:?}/tests/settings/settings-probe.exe"
export WINEPREFIX="${WINEPREFIX:-$WINDOWS_BUILD/wineprefix}" WINEDEBUG="${WINEDEBUG:--all}"

fail() {
  echo "settings-roundtrip: FAILED: $*"
  exit 1
}
[ -x "$native_probe" ] || fail "no $native_probe"
[ -f "$windows_probe" ] || fail "no $windows_probe"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "cannot enter $work"

native() { "$native_probe" "$@"; }
windows() { wine "$windows_probe" "$@" | tr -d '\r'; }

checked=0
# expect KEY VALUE: both builds read VALUE under KEY.
expect() {
  local on_linux on_windows
  on_linux=$(native read "$1") || fail "Linux read of $1"
  on_windows=$(windows read "$1") || fail "Windows read of $1"
  [ "$on_linux" = "$2" ] && [ "$on_windows" = "$2" ] ||
    fail "$1: expected $2, Linux read $on_linux, Windows read $on_windows"
  checked=$((checked + 1))
}

# Written on Linux, read on Windows.
native write tolm_jtdx_x -1920 && native write tolm_jtdx_y 10240 && native write Setup_x -2147483648 &&
  native write Setup_y 2147483647 && native write UDP_Port 2238 || fail "Linux write"
expect tolm_jtdx_x -1920
expect tolm_jtdx_y 10240
expect Setup_x -2147483648
expect Setup_y 2147483647
expect UDP_Port 2238

# Written on Windows into the Linux file: the other keys stay.
windows write tolm_jtdx_x 3840 && windows write UDP_Port 2250 && windows write Setup_y -1 || fail "Windows write"
expect tolm_jtdx_x 3840
expect tolm_jtdx_y 10240
expect Setup_x -2147483648
expect Setup_y -1
expect UDP_Port 2250

# A hand-edited file: comments, another section, case and spacing, a value
# with trailing letters, and a key missing from the section.
printf '%s\n' '; station PC' '[Other]' 'UDP_Port=1111' '' '[settings]' '  udp_port = 2238abc  ' \
  'TOLM_JTDX_X=-5' 'Setup_x=0' > Plugins/Tolm_JTDX.ini
expect UDP_Port 2238
expect tolm_jtdx_x -5
expect tolm_jtdx_y 0
expect Setup_x 0
windows write Setup_y 20 || fail "Windows write into the hand-edited file"
native write tolm_jtdx_y 700 || fail "Linux write into the Windows file"
expect Setup_y 20
expect tolm_jtdx_y 700
expect UDP_Port 2238
grep -q '^; station PC' Plugins/Tolm_JTDX.ini || fail "the comment line was lost"
# Wine wrote CRLF lines; the Linux write keeps them.
[ "$(grep -c $'\r$' Plugins/Tolm_JTDX.ini)" = "$(wc -l < Plugins/Tolm_JTDX.ini)" ] ||
  fail "the Linux write changed the line ends of the Windows file"

echo "settings-roundtrip: ok, $checked values read alike by the Linux and the Windows build"
