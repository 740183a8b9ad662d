#!/usr/bin/env bash
# Relvan.exe as its user meets it, under Wine in a virtual desktop on Xvfb:
# beside tolm-sim.exe, fed by the Linux jtdx-replay, driven by relvan-probe.
# One story: start without Tolm, Tolm comes, a second Relvan on the same port
# waits, a session is logged once, JTDX closes and comes back, Tolm quits
# while Relvan idles and comes back, the port is changed in Setup (with a
# refused text on the way), Tolm quits again (the contact kept in the unsaved
# file, which tolm-sim then imports) and comes back, Finish; the status line says
# each in turn, and fits its control. All of it in a folder whose name no
# ANSI code page spells (Cyrillic and Greek). Then Relvan again, beside a
# Tolm that hangs in its first seconds: the call is given up after about 5 s,
# one outage, the window answering meanwhile. Keeps a screenshot of the main
# window in $WINDOWS_BUILD/relvan-window.png, on port 2237 where it is free.
# Needs NATIVE_BUILD and WINDOWS_BUILD (the two build trees); prints one line
# and exits non-zero on the first failure, leaving its files for a look.
set -uo pipefail

if [ -z "${RELVAN_E2E_ON_XVFB:-}" ]; then
  RELVAN_E2E_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$@"
fi

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
relvan="${WINDOWS_BUILD:?}/src/app/Relvan.exe"
sim="$WINDOWS_BUILD/tools/tolm-sim/tolm-sim.exe"
probe_exe="$WINDOWS_BUILD/tests/e2e/win32/relvan-probe.exe"
replay="${NATIVE_BUILD:?}/tools/jtdx-replay/jtdx-replay"
session="$source_dir/examples/ft8-session.txt"
export WINEPREFIX="${WINEPREFIX:-$WINDOWS_BUILD/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A program started while the previous test's Wine server is still shutting
# down can die before it shows anything: let that server end first.
wineserver -w
# The caption buttons are glyphs of Wine's Marlett. Debian's Wine does not
# load it from where fonts-wine puts it, but does from the prefix's Fonts
# folder; without it the buttons show as letters.
fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
[ -d "$fonts_dir" ] && cp -u /usr/share/wine/fonts/marlett.ttf "$fonts_dir/" 2>/dev/null

started=()  # our own background processes, ended by id if the story breaks off
fail() {
  echo "windows-e2e: FAILED: $*"
  echo "windows-e2e: files in $work"
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  exit 1
}
for f in "$relvan" "$sim" "$probe_exe" "$replay"; do [ -f "$f" ] || fail "no $f"; done

work=$(mktemp -d "$WINDOWS_BUILD/e2e.XXXXXX")
# The operator's own folder, in two scripts at once.
mkdir "$work/Журнал Ελλάς" && cd "$work/Журнал Ελλάς" || fail "cannot enter $work/Журнал Ελλάς"
folder_w=$(winepath -w "$PWD" 2>/dev/null | tr -d '\r')
case "$folder_w" in *'\Журнал Ελλάς') ;; *) fail "winepath of the folder: [$folder_w]" ;; esac
desktop="relvan-e2e-$$"
# Ports of this run only, so that parallel runs and a real JTDX never meet;
# the first part of the session is on JTDX's own 2237 when nothing holds it,
# for the screenshot.
read -r own_port port2 < <("$source_dir/tests/support/free-udp-ports") || fail "no free UDP ports (python3 is needed)"
port1=$own_port
python3 -c 'import socket; socket.socket(socket.AF_INET, socket.SOCK_DGRAM).bind(("127.0.0.1", 2237))' 2>/dev/null &&
  port1=2237
title="Tolm<->JTDX UDP port ="

probe() { wine "$probe_exe" --desktop "$desktop" "$@" | tr -d '\r'; }
expect_probe() {  # expect_probe "EXPECTED OUTPUT" COMMAND...
  local expected=$1 got
  shift
  got=$(probe "$@") || fail "probe $*: $got"
  [ "$got" = "$expected" ] || fail "probe $*: expected [$expected], got [$got]"
}
start_sim() {  # start_sim NAME [OPTION...]: tolm-sim.exe with NAME.adi and NAME.txt, stopped by event NAME-$$
  wine "$sim" --adif "$folder_w\\$1.adi" --transcript "$folder_w\\$1.txt" --stop-event "$1-$$" "${@:2}" >"$1.out" 2>&1 &
  started+=($!)
  eval "${1}_pid=$!"
  for _ in $(seq 100); do grep -qs "is running" "$1.out" && return; sleep 0.1; done
  fail "tolm-sim $1 did not start: $(cat "$1.out")"
}
stop_sim() {
  probe set-event "$1-$$" || fail "cannot stop tolm-sim $1"
  local pid="${1}_pid"
  wait "${!pid}" || fail "tolm-sim $1 ended with an error: $(cat "$1.out")"
}
expect_status() {  # expect_status PATTERN: waits for the status line to match the shell PATTERN whole, and to fit
  local got
  probe wait-status "${1%%[[]*}" >/dev/null || fail "the status line never read [$1]"
  got=$(probe status) || fail "probe status: $got"
  case "$got" in
    "status="$1$'\n'"fits=yes") ;;
    *) fail "status line: expected [$1] and fits=yes, got [$got]" ;;
  esac
}
start_relvan() {  # start_relvan PORT: Relvan.exe with PORT in its settings file
  printf '[Settings]\r\nUDP_Port=%s\r\n' "$1" >Plugins/Tolm_JTDX.ini
  wine explorer "/desktop=$desktop,480x300" "$relvan" >relvan.out 2>&1 &
  started+=($!)
  relvan_pid=$!
  expect_probe "$title $1" wait-title "$title $1"
}
records() { grep -ci '<eor>' "$1" 2>/dev/null || true; }
wait_records() {  # wait_records FILE N: the ADIF log holds N contacts
  for _ in $(seq 100); do [ "$(records "$1")" = "$2" ] && return; sleep 0.1; done
  fail "$1 holds $(records "$1") contacts, expected $2"
}

# Start: no Tolm yet, the port from the settings file.
mkdir Plugins
start_relvan "$port1"
if [ "$port1" = 2237 ] && probe status | grep -qx "status=Port 2237 is held by another program"; then
  # Taken between the look and the bind: this run's own port after all.
  expect_probe "exit=0" finish
  wait "$relvan_pid" 2>/dev/null
  port1=$own_port
  start_relvan "$port1"
fi
expect_status "Tolm is not running"

# Tolm comes; a second Relvan started by hand on the same port (in a folder
# and a desktop of its own) takes nothing and says why; a whole FT8 session
# reaches Tolm once.
start_sim first
expect_status "Listening on port $port1"
mkdir -p second/Plugins && printf '[Settings]\r\nUDP_Port=%s\r\n' "$port1" >second/Plugins/Tolm_JTDX.ini
(cd second && exec wine explorer "/desktop=$desktop-2,480x300" "$relvan" >relvan.out 2>&1) &
started+=($!)
second_pid=$!
probe2() { wine "$probe_exe" --desktop "$desktop-2" "$@" | tr -d '\r'; }
probe2 wait-status "Relvan already listens on port $port1" >/dev/null ||
  fail "the second Relvan's status line: $(probe2 status)"
"$replay" --port "$port1" "$session" >/dev/null || fail "jtdx-replay to $port1"
wait_records first.adi 1
[ "$(probe2 finish)" = "exit=0" ] || fail "Finish of the second Relvan"
wait "$second_pid" 2>/dev/null
# Every call reaches Tolm with its values, each datagram acted on once: the
# frequencies of each Status, the contact saved once, the Clear.
status_frequencies='TxFrequency 14075500
RxFrequency 14075210'
cat >expected-first.txt <<END
ExecMacro "<MODEADD:FT8>"
SetLogField 5 "-10"
TxFrequency 14075500
RxFrequency 14075500
SetLogField 0 "K1ABC"
SetLogField 5 "-12"
$status_frequencies
$status_frequencies
$status_frequencies
ExecMacro "<MODEADD:FT8>"
SetLogField 0 "K1ABC"
SetLogField 10 "FN42"
SetLogField 1 "Bob"
SetLogField 5 "-12"
SetLogField 2 "-05"
SetLogField 4 "tnx QSO 73"
ExecMacro "<CURSOR:TX>"
ExecMacro "<FIXSTARTTIME>"
TxFrequency 14075500
ExecMacro "<SAVEQSO>"
$status_frequencies
SetLogField 0 ""
SetLogField 5 ""
SetLogField 2 ""
SetLogField 4 ""
SetLogField 10 ""
SetLogField 1 ""
SetLogField 0 ""
$status_frequencies
END
grep -q '<CALL:5>K1ABC' first.adi || fail "the contact in first.adi: $(cat first.adi)"
# The last Status may still be on its way to the next tick.
for _ in $(seq 50); do diff -q expected-first.txt first.txt >/dev/null && break; sleep 0.1; done
diff expected-first.txt first.txt >first.diff || fail "transcript of the session differs: $(cat first.diff)"
expect_status "K1ABC saved at [0-9][0-9]:[0-9][0-9] UTC (1 today)"

# JTDX closes: the status line says when, until JTDX's next datagram.
echo close >close.txt
"$replay" --port "$port1" close.txt >/dev/null || fail "jtdx-replay of close.txt"
expect_status "JTDX closed at [0-9][0-9]:[0-9][0-9] UTC"

# Tolm quits while Relvan idles: within 3.5 s the status line says it is not
# running, with no box (no contact was lost); started again, it is attached
# and sent what JTDX showed last.
stop_sim first
quit_at=$(date +%s%N)
expect_status "Tolm is not running"
seen_ms=$((($(date +%s%N) - quit_at) / 1000000))
[ "$seen_ms" -le 3500 ] || fail "Tolm's end was seen after $seen_ms ms"
probe no-message 1 || fail "a box for a Tolm that quit while nothing was lost: $(probe message)"
sent_before=$(wc -l <first.txt)
start_sim first
expect_status "JTDX closed at [0-9][0-9]:[0-9][0-9] UTC"
for _ in $(seq 50); do [ "$(wc -l <first.txt)" -ge $((sent_before + 5)) ] && break; sleep 0.1; done
resent=$(tail -n +$((sent_before + 1)) first.txt)
[ "$resent" = 'ExecMacro "<MODEADD:FT8>"
SetLogField 0 ""
SetLogField 5 "-12"
'"$status_frequencies" ] || fail "what a Tolm started again was sent: [$resent]"

# Another contact logged and the next station selected: all six fields
# filled as the user sees them, and the screenshot.
cat >select.txt <<'END'
qso date=2024-06-01 timeon=18:40:00 timeoff=18:41:00 call=W9XYZ grid=EN52 freq=7075500 mode=FT4 sent=-07 rcvd=-09 power=50 name="Анна" comments="73"
wait 300
status dial=7074000 mode=FT4 dxcall=JA1XYZ report=-11 rxdf=1210 txdf=1500
END
"$replay" --port "$port1" select.txt >/dev/null || fail "jtdx-replay of select.txt"
wait_records first.adi 2
sleep 0.5
grep -qx 'SetLogField 1 "Анна"' first.txt || fail "the Cyrillic name did not reach Tolm as it is"
expect_probe "$(printf '%s\n' Call=JA1XYZ 'Rpt Send=-11' 'Rpt Rcvd=-09' Grid=EN52 'Freq= 7075.50' Mode=FT4)" fields
expect_status "W9XYZ saved at [0-9][0-9]:[0-9][0-9] UTC (2 today)"
probe screenshot relvan-window.bmp >/dev/null || fail "screenshot"

# Setup: a letter is refused with the focus back on the selected text, then
# the new port is typed and confirmed.
probe click 1007 >/dev/null || fail "click Setup"
expect_probe "$(printf 'port=%s\nok=ОК' "$port1")" setup
probe type x >/dev/null
expect_probe "$(printf 'text=Please enter an integer.\nowner=Setup')" message
expect_probe "$(printf 'focus=1000\nselection=0-1 of 1')" setup-focus
probe type "$port2" >/dev/null
probe setup-ok >/dev/null || fail "Setup's OK"
expect_probe "$title $port2" wait-title "$title $port2"
grep -qx "UDP_Port=$port2" <(tr -d '\r' <Plugins/Tolm_JTDX.ini) || fail "settings file: $(cat Plugins/Tolm_JTDX.ini)"
# The same station later: the session's own contact again would be known as
# the one saved already.
sed 's/timeoff=18:31:15/timeoff=18:35:15/' "$session" >moved.txt
"$replay" --port "$port2" moved.txt >/dev/null || fail "jtdx-replay to $port2"
wait_records first.adi 3

# Tolm quits again, and is seen to: the contact that follows is kept in
# the unsaved-contacts file, and its box is the only one.
stop_sim first
expect_status "Tolm is not running"
# The same station again, later: a contact of its own (the session's own bytes
# again would be the contact saved already).
sed 's/timeoff=18:31:15/timeoff=18:45:15/' "$session" >later.txt
sed 's/timeoff=18:31:15/timeoff=19:00:15/' "$session" >latest.txt
"$replay" --port "$port2" later.txt >/dev/null || fail "jtdx-replay while Tolm is gone"
wait_records Plugins/Tolm_JTDX_unsaved.adi 1
grep -q '<TIME_OFF:6>184515' Plugins/Tolm_JTDX_unsaved.adi || fail "unsaved contact: $(cat Plugins/Tolm_JTDX_unsaved.adi)"
lost=$(probe message) || fail "no box for the contact kept"
case "$lost" in
  "text=The contact with K1ABC at 18:45 UTC was not saved in Tolm, which is not running. It was added to "*'\Журнал Ελλάς\Plugins\Tolm_JTDX_unsaved.adi: import that file into Tolm.'*) ;;
  *) fail "the contact's box: $lost" ;;
esac
# The contact kept in the file is the first thing the operator must know.
expect_status "1 contact waits in Tolm_JTDX_unsaved.adi"
probe no-message 1 || fail "a further message box"
# The operator imports the kept contact into Tolm by the file's full name and
# renames the file; Tolm is back, the bridge attaches afresh and the next
# contact is saved.
wine "$sim" --adif "$folder_w\\imported.adi" --import "$folder_w\\Plugins\\Tolm_JTDX_unsaved.adi" >import.out 2>&1 ||
  fail "tolm-sim --import: $(cat import.out)"
grep -q '<CALL:5>K1ABC' imported.adi && grep -q '<TIME_OFF:6>184515' imported.adi || fail "imported: $(cat import.out)"
start_sim second
mv Plugins/Tolm_JTDX_unsaved.adi Plugins/Tolm_JTDX_imported.adi
expect_status "K1ABC saved at [0-9][0-9]:[0-9][0-9] UTC (3 today)"
"$replay" --port "$port2" latest.txt >/dev/null || fail "jtdx-replay to the second tolm-sim"
wait_records second.adi 1
grep -qx 'ExecMacro "<SAVEQSO>"' second.txt || fail "second tolm-sim: $(cat second.txt)"
steps="Tolm lost and found again ($(echo "$lost" | head -1))"

# Finish ends the program.
expect_probe "exit=0" finish
stop_sim second
wait "$relvan_pid" 2>/dev/null

# Relvan again, and a Tolm that takes 12 s to answer anything: the call of the
# next Status is given up after 5 s, the window answering meanwhile, and the
# bridge attaches again once Tolm answers. (Wine hands a call given up back
# only once the server has answered, so the box may come later than 5 s; the
# code it names, RPC_E_CALL_CANCELED, says the call was given up.)
start_relvan "$port2"
expect_status "Tolm is not running"
start_sim hung --slow-for 12
expect_status "Listening on port $port2"
echo 'status dial=14074000 mode=FT8 dxcall=W9XYZ report=-08 rxdf=1200 txdf=1500' >hang.txt
# The box is watched for from before the Status, so that the probe's own
# start costs nothing of the time measured.
probe message >hung.box &
box_probe=$!
sleep 2
asked=$(date +%s%N)
"$replay" --port "$port2" hang.txt >/dev/null || fail "jtdx-replay of hang.txt"
sleep 2
expect_probe "status=Listening on port $port2"$'\n'"fits=yes" status
wait "$box_probe" || fail "no box for the hung Tolm: $(cat hung.box)"
waited_ms=$((($(date +%s%N) - asked) / 1000000))
hung=$(head -1 hung.box)
case "$hung" in
  "text=Tolm stopped answering; Relvan will attach again when it runs (ExecMacro: "*"0x80010002)."*) ;;
  *) fail "the hung Tolm's box: $hung" ;;
esac
[ "$waited_ms" -ge 4500 ] && [ "$waited_ms" -le 12000 ] || fail "the hung call cost $waited_ms ms"
expect_status "Listening on port $port2"
probe no-message 1 || fail "a further message box for the hung Tolm"
grep -qx 'SetLogField 0 "W9XYZ"' hung.txt || fail "the Status after the hang: $(cat hung.txt)"
expect_probe "exit=0" finish
stop_sim hung
wait "$relvan_pid" 2>/dev/null
steps="$steps; a hung Tolm cost ${waited_ms} ms and one box ($hung)"
convert relvan-window.bmp "$WINDOWS_BUILD/relvan-window.png" || fail "screenshot to PNG"
cd / && rm -rf "$work"
echo "windows-e2e: ok, session, JTDX closed, Setup and Finish, the status line at each; $steps; screenshot on port $port1 in $WINDOWS_BUILD/relvan-window.png"
