#!/usr/bin/env bash
# Relvan.exe beside another reader of JTDX's datagrams in the multicast group
# 239.255.0.1 on port 2237, under Wine in a network namespace of this run
# alone, with its own wineserver (Wine's sockets live in the server): the
# status line names the group, a second Relvan.exe with the same settings
# waits, the FT8 session sent to the group reaches both readers whole and
# tolm-sim.exe once, and the second Relvan.exe takes the port over once the
# first has ended. Exits 77, saying why, where no
# namespace can be made. Needs NATIVE_BUILD and WINDOWS_BUILD.
set -uo pipefail

if [ -z "${RELVAN_IN_NAMESPACE:-}" ]; then
  command -v ip >/dev/null || { echo "windows-multicast: skipped: ip (iproute2) is not installed"; exit 77; }
  unshare -n true 2>/dev/null ||
    { echo "windows-multicast: skipped: no network namespace can be made here (unshare -n needs root)"; exit 77; }
  export WINEPREFIX="${WINEPREFIX:-${WINDOWS_BUILD:?}/wineprefix}"
  # The prefix's server outside the namespace must be gone, or Wine inside
  # would use it and its sockets.
  wineserver -w
  RELVAN_IN_NAMESPACE=1 exec unshare -n xvfb-run -a -s "-screen 0 640x480x24" bash "$0" "$@"
fi

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
relvan="${WINDOWS_BUILD:?}/src/app/Relvan.exe"
sim="$WINDOWS_BUILD/tools/tolm-sim/tolm-sim.exe"
probe_exe="$WINDOWS_BUILD/tests/e2e/win32/relvan-probe.exe"
replay="${NATIVE_BUILD:?}/tools/jtdx-replay/jtdx-replay"
session="$source_dir/examples/ft8-session.txt"
group=239.255.0.1 port=2237
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ip link set lo up
ip route add 224.0.0.0/4 dev lo src 127.0.0.1
wineserver -p  # this namespace's own, until the end
started=()
finish() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  wineserver -k 2>/dev/null
}
trap finish EXIT
fail() {
  echo "windows-multicast: FAILED: $*"
  echo "windows-multicast: files in $work"
  exit 1
}
work=$(mktemp -d "$WINDOWS_BUILD/multicast.XXXXXX")
cd "$work" && mkdir Plugins || fail "cannot make $work/Plugins"
folder_w=$(winepath -w "$PWD" 2>/dev/null | tr -d '\r')
desktop="relvan-multicast-$$"
probe() { wine "$probe_exe" --desktop "$desktop" "$@" | tr -d '\r'; }

wine "$sim" --adif "$folder_w\\log.adi" --transcript "$folder_w\\log.txt" --stop-event "sim-$$" >sim.out 2>&1 &
started+=($!)
for _ in $(seq 100); do grep -qs "is running" sim.out && break; sleep 0.1; done
printf '[Settings]\r\nUDP_Port=%s\r\nUDP_Group=%s\r\n' "$port" "$group" >Plugins/Tolm_JTDX.ini
wine explorer "/desktop=$desktop,480x300" "$relvan" >relvan.out 2>&1 &
started+=($!)
probe wait-status "Listening on $group:$port" >/dev/null || fail "status line: $(probe status)"

# A Status sent to 127.0.0.1 rather than the group is told: Wine delivers
# each datagram's destination.
printf 'status dial=14074000 mode=FT8 report=-10 rxdf=1500 txdf=1500\n' >local.txt
"$replay" --to 127.0.0.1 --port "$port" local.txt || fail "jtdx-replay to 127.0.0.1:$port"
probe wait-status "JTDX does not send to the group" >/dev/null || fail "status line: $(probe status)"

# A second Relvan.exe with the same settings, in a folder and a desktop of
# its own, takes nothing while the first listens.
mkdir -p second/Plugins && cp Plugins/Tolm_JTDX.ini second/Plugins/
(cd second && exec wine explorer "/desktop=$desktop-2,480x300" "$relvan" >relvan.out 2>&1) &
started+=($!)
probe2() { wine "$probe_exe" --desktop "$desktop-2" "$@" | tr -d '\r'; }
probe2 wait-status "Relvan already listens on port $port" >/dev/null || fail "second status line: $(probe2 status)"

"$source_dir/tests/support/multicast-reader" "$group" "$port" reader.txt &
started+=($!)
for _ in $(seq 100); do grep -qsx ready reader.txt && break; sleep 0.1; done

"$replay" --to "$group" --port "$port" "$session" || fail "jtdx-replay to $group:$port"
"$replay" --dump "$session" | sed '1i ready' >expected.txt
for _ in $(seq 50); do cmp -s expected.txt reader.txt && break; sleep 0.1; done
cmp -s expected.txt reader.txt || fail "the second reader did not get every datagram"
for _ in $(seq 100); do [ "$(grep -ci '<eor>' log.adi 2>/dev/null)" = 1 ] && break; sleep 0.1; done
[ "$(grep -c '<CALL:5>K1ABC' log.adi 2>/dev/null)" = 1 ] || fail "tolm-sim's log: $(cat log.adi 2>/dev/null)"
[ "$(grep -cF 'ExecMacro "<SAVEQSO>"' log.txt)" = 1 ] || fail "the contact was not saved once: $(cat log.txt)"
probe status | grep -qx "status=K1ABC saved at [0-9:]* UTC (1 today)" || fail "status line: $(probe status)"
[ "$(probe finish)" = "exit=0" ] || fail "Finish"
# The second takes the port over once the first has ended.
probe2 wait-status "Listening on $group:$port" >/dev/null || fail "second status line: $(probe2 status)"
probe2 set-event "sim-$$" >/dev/null
[ "$(probe2 finish)" = "exit=0" ] || fail "Finish of the second"
cd / && rm -rf "$work"
echo "windows-multicast: ok, Relvan.exe and a second reader on $group:$port, the session whole to both, saved once; a second Relvan.exe waited and took over"
