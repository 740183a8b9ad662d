#!/usr/bin/env bash
# relvan in a terminal, walked through one story under a private tmux server:
# start beside tolm-sim, a replayed FT8 session fills the fields and saves the
# contact, Setup moves the bridge to a new port where the next contact
# arrives, the host quits while the bridge idles (no box) and comes back, the
# host ends in the middle of a call (error box), a long outage's contacts
# are told of in one box, the host comes back, Finish; then a start with a
# settings file that cannot be read.
#
# usage: RELVAN_VERSION=X.Y.Z relvan-tmux-e2e.sh RELVAN TOLM_SIM JTDX_REPLAY EXAMPLES_DIR WORK_ROOT
set -euo pipefail

relvan=$1 sim=$2 replay=$3 examples=$4 work_root=$5
: "${RELVAN_VERSION:?the project version, which the About box shows}"

mkdir -p "$work_root"
dir=$(mktemp -d "$work_root/story.XXXXXX")
export XDG_RUNTIME_DIR=$dir/xdg  # tolm-sim's socket, ours alone
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$dir/work/Plugins"
# A tmux server of this run alone, its socket in a directory of its own (a
# short path: sockets have a length limit the build tree may pass).
tmux_dir=$(mktemp -d "${TMPDIR:-/tmp}/relvan-tmux.XXXXXX")
tmux=(tmux -S "$tmux_dir/server" -f /dev/null)
sim_pid=

cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  "${tmux[@]}" kill-server 2>/dev/null || true
  rm -rf "$tmux_dir"
}
trap cleanup EXIT

# Two ports the system hands out, never 2237: other runs of these tests, and
# a real bridge, may be listening beside this one.
read -r port1 port2 < <("$(dirname "$0")/../../support/free-udp-ports") ||
  { echo "FAIL: no free UDP ports (python3 is needed)" >&2; exit 1; }
printf '[Settings]\nUDP_Port=%s\n' "$port1" >"$dir/work/Plugins/Tolm_JTDX.ini"

fail() {
  echo "FAIL: $*" >&2
  echo "--- screen:" >&2
  screen >&2 || true
  echo "--- relvan's standard error:" >&2
  cat "$dir/relvan.err" >&2 2>/dev/null || true
  echo "(files kept in $dir)" >&2
  exit 1
}

screen() { "${tmux[@]}" capture-pane -p -t story; }

# Polls the screen (10 s) until the extended regular expression shows
# (wait_screen) or no longer shows (wait_gone).
wait_for_screen() {  # wait_for_screen 1|0 REGEX FAILURE
  local deadline=$((SECONDS + 10)) shown
  while :; do
    shown=0
    screen | grep -Eq -- "$2" && shown=1
    [ "$shown" = "$1" ] && return
    [ $SECONDS -lt $deadline ] || fail "$3 /$2/"
    sleep 0.1
  done
}
wait_screen() { wait_for_screen 1 "$1" "screen never showed"; }
wait_gone() { wait_for_screen 0 "$1" "screen still shows"; }

# The title is the top line, exactly.
wait_title() {
  local deadline=$((SECONDS + 10)) title
  while :; do
    title=$(screen | head -n 1 | sed 's/^ *//; s/ *$//')
    [ "$title" = "$1" ] && return
    [ $SECONDS -lt $deadline ] || fail "title is \"$title\", expected \"$1\""
    sleep 0.1
  done
}

# Waits until a file holds a line matching the fixed text, count times (10 s).
wait_lines() {
  local file=$1 text=$2 count=${3:-1} deadline=$((SECONDS + 10))
  until [ "$(grep -cF -- "$text" "$file" 2>/dev/null)" = "$count" ]; do
    [ $SECONDS -lt $deadline ] || fail "$file: expected $count line(s) with $text, has $(grep -cF -- "$text" "$file" 2>/dev/null)"
    sleep 0.1
  done
}

start_sim() {
  local adif=$1
  "$sim" --adif "$dir/work/$adif" --transcript "$dir/work/transcript.txt" >>"$dir/sim.log" 2>&1 &
  sim_pid=$!
  local deadline=$((SECONDS + 10))
  until [ -S "$XDG_RUNTIME_DIR/Tolm2.Application.sock" ]; do
    [ $SECONDS -lt $deadline ] || fail "tolm-sim did not start: $(cat "$dir/sim.log")"
    sleep 0.1
  done
}

stop_sim() {
  kill "$sim_pid"
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
  rm -f "$XDG_RUNTIME_DIR/Tolm2.Application.sock"
}

# A contact with one station: selected in a Status, then logged.
contact() {
  local call=$1 file=$dir/contact-$1.txt
  cat >"$file" <<SCENARIO
status dial=7074000 mode=FT8 dxcall=$call dxgrid=EM10 report=-07 rxdf=900 txdf=1200
wait 400
qso call=$call grid=EM10 freq=7075200 mode=FT8 sent=-07 rcvd=-11
wait 400
SCENARIO
  "$replay" --port "$2" "$file" >/dev/null
}

echo "== relvan starts beside tolm-sim and listens on port $port1"
start_sim log.adi
"${tmux[@]}" new-session -d -s story -x 80 -y 24 -c "$dir/work" \
  "'$relvan' 2>'$dir/relvan.err'; echo \$? >'$dir/relvan.status'"
wait_title "Tolm<->JTDX UDP port = $port1"
wait_screen 'Call +Rpt Send +Rpt Rcvd'
wait_screen 'Freq +Mode +Grid'
wait_screen '<Finish> +<Setup>'

echo "== a replayed FT8 session fills the fields and saves the contact once"
"$replay" --port "$port1" "$examples/ft8-session.txt" >/dev/null &
replay_pid=$!
wait_screen '\[K1ABC +\]'
wait_screen '\[14075\.50\] \[FT8 +\] +\[FN42 +\]'
wait_screen '\[-12 +\] +\[-05 +\]'
wait "$replay_pid"
wait_lines "$dir/work/log.adi" '<CALL:5>K1ABC'
grep -q '<RST_RCVD:3>-05 <GRIDSQUARE:4>FN42 <NAME:3>Bob' "$dir/work/log.adi" || fail "ADIF record: $(cat "$dir/work/log.adi")"
# The mode from the first Status, and again before the save.
wait_lines "$dir/work/transcript.txt" 'ExecMacro "<MODEADD:FT8>"' 2
wait_lines "$dir/work/transcript.txt" 'ExecMacro "<SAVEQSO>"'
# The session ends with Clear: the station's fields are empty again.
wait_screen '^ *\[ +\]  \[ +\]  \[ +\] *$'
wait_screen '^ *K1ABC saved at [0-9][0-9]:[0-9][0-9] UTC \(1 today\) *$'

echo "== the About box is up and the ticks go on under it"
"${tmux[@]}" send-keys -t story F1
wait_screen "─ О проекте Relvan ─"
wait_screen "Relvan ${RELVAN_VERSION//./\\.}: JTDX to Tolm"
"$replay" --port "$port1" /dev/stdin >/dev/null <<<"status dial=14074000 mode=FT8 dxcall=VE3QQQ report=-15"
wait_screen "\\[VE3QQQ +\\] +\\[-15 +\\]"
"${tmux[@]}" send-keys -t story Enter
wait_gone "─ О проекте Relvan ─"

echo "== Setup moves the bridge to port $port2"
"${tmux[@]}" send-keys -t story BTab Enter  # the focus goes back from Finish to Setup
wait_screen "Input number UDP port\[$port1 *\] +<ОК>"
"${tmux[@]}" send-keys -t story Tab "$port2" Enter
wait_title "Tolm<->JTDX UDP port = $port2"
grep -qx "UDP_Port=$port2" "$dir/work/Plugins/Tolm_JTDX.ini" || fail "port not stored: $(cat "$dir/work/Plugins/Tolm_JTDX.ini")"
contact W9XYZ "$port2"
wait_lines "$dir/work/log.adi" '<CALL:5>W9XYZ'

echo "== JTDX closes and starts again: it is served at once"
"$replay" --port "$port2" /dev/stdin >/dev/null <<<'close'
wait_screen '^ *JTDX closed at [0-9][0-9]:[0-9][0-9] UTC *$'
contact N4CCC "$port2"
wait_lines "$dir/work/log.adi" '<CALL:5>N4CCC'

echo "== tolm-sim quits while relvan idles: the status line says so within 3.5 s, without a box; started again, it gets the kept state"
calls_before=$(grep -cF 'SetLogField 0 "N4CCC"' "$dir/work/transcript.txt")
stop_sim
quit_at=$(date +%s%N)
wait_screen '^ *Tolm is not running *$'
seen_ms=$((($(date +%s%N) - quit_at) / 1000000))
[ "$seen_ms" -le 3500 ] || fail "Tolm's end was seen after $seen_ms ms"
screen | grep -q 'Tolm stopped answering' && fail "a box for a Tolm that quit while nothing was lost"
start_sim log.adi
wait_lines "$dir/work/transcript.txt" 'SetLogField 0 "N4CCC"' $((calls_before + 1))
wait_screen '^ *N4CCC saved at '

echo "== the host hangs, then ends in the middle of a call: one box says so, the ticks go on under it"
# Stopped first, so that the call is under way when it ends: no check of
# the upkeep can see it go before the call does.
kill -STOP "$sim_pid"
"$replay" --port "$port2" /dev/stdin >/dev/null <<<'status dial=7074000 mode=FT8 dxcall=K9AAA report=-03'
sleep 0.5
kill -KILL "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=
rm -f "$XDG_RUNTIME_DIR/Tolm2.Application.sock"
wait_screen 'Tolm stopped answering'
wait_screen 'K9AAA'

echo "== a contact while no Tolm runs is kept, and told of once the box closes"
contact K1ABC "$port2"
wait_lines "$dir/work/Plugins/Tolm_JTDX_unsaved.adi" '<CALL:5>K1ABC'
"${tmux[@]}" send-keys -t story Enter
wait_screen 'The contact with K1ABC at'
wait_screen 'Plugins/Tolm_JTDX_unsaved.adi'

echo "== a long outage: 30 more contacts under that box get one box of ten calls, answered in a 100x30 terminal"
for i in $(seq -w 0 29); do printf 'qso call=K2A%s grid=EM10 freq=7075200 mode=FT8 sent=-07 rcvd=-11\nwait 20\n' "$i"; done \
  >"$dir/outage.txt"
"$replay" --port "$port2" "$dir/outage.txt" >/dev/null
wait_lines "$dir/work/Plugins/Tolm_JTDX_unsaved.adi" '<CALL:5>K2A29'
"${tmux[@]}" resize-window -t story -x 100 -y 30
"${tmux[@]}" send-keys -t story Enter
wait_screen 'K2A09 and 20 more\) were'
# The box sits under the main dialog: the status line stays in sight.
wait_screen '^ *31 contacts wait in '
"${tmux[@]}" send-keys -t story Enter
wait_gone "─ Relvan ─"
wait_title "Tolm<->JTDX UDP port = $port2"

echo "== Tolm runs again and the kept contact is imported: the next contact reaches Tolm"
start_sim log-again.adi
rm "$dir/work/Plugins/Tolm_JTDX_unsaved.adi"  # as the operator does after the import
wait_screen '^ *N4CCC saved at [0-9][0-9]:[0-9][0-9] UTC \(3 today\) *$'
contact N5BBB "$port2"
wait_lines "$dir/work/log-again.adi" '<CALL:5>N5BBB'

echo "== Finish ends the program"
"${tmux[@]}" send-keys -t story Tab Enter  # from Setup round to Finish
deadline=$((SECONDS + 10))
until [ -s "$dir/relvan.status" ]; do
  [ $SECONDS -lt $deadline ] || fail "relvan did not end on Finish"
  sleep 0.1
done
[ "$(cat "$dir/relvan.status")" = 0 ] || fail "relvan ended with $(cat "$dir/relvan.status")"
[ ! -s "$dir/relvan.err" ] || fail "relvan wrote to standard error"

echo "== a settings file that cannot be read is told, and left as it is"
rm "$dir/work/Plugins/Tolm_JTDX.ini" "$dir/relvan.status"
mkdir "$dir/work/Plugins/Tolm_JTDX.ini"  # unreadable as a file, even for root
"${tmux[@]}" new-session -d -s again -x 80 -y 24 -c "$dir/work" \
  "'$relvan' 2>'$dir/relvan.err'; echo \$? >'$dir/relvan.status'"
screen() { "${tmux[@]}" capture-pane -p -t again; }
wait_title "Tolm<->JTDX UDP port = 2237"
# The port falls back to 2237, which a real bridge or another run may hold:
# that comes first on the line.
wait_screen '^ *(Tolm_JTDX\.ini unreadable; port 2237|Port 2237 is held by another program) *$'
"${tmux[@]}" send-keys -t again Escape
deadline=$((SECONDS + 10))
until [ -s "$dir/relvan.status" ]; do
  [ $SECONDS -lt $deadline ] || fail "relvan did not end on Esc"
  sleep 0.1
done
[ -d "$dir/work/Plugins/Tolm_JTDX.ini" ] || fail "the unreadable settings file was replaced"
rm -rf "$dir"
echo "PASS"
