#!/usr/bin/env bash
# relvan beside another reader of JTDX's datagrams, both in the multicast
# group 239.255.0.1 on port 2237, in a network namespace of this run alone:
# the status line names the group, and tells of a Status sent to 127.0.0.1
# instead; a second relvan with the same settings waits; the replayed FT8
# session reaches both readers whole, and the contact reaches tolm-sim once;
# once the first relvan has ended the second takes the port over and saves
# the next contact once. Where no namespace can be made (no root), the story
# is skipped (exit 77) and says why.
#
# usage: relvan-multicast-e2e.sh RELVAN TOLM_SIM JTDX_REPLAY EXAMPLES_DIR WORK_ROOT
set -euo pipefail

skip() {
  echo "[  SKIPPED ] 1 test, relvan_multicast_story: $*"
  exit 77
}

if [ -z "${RELVAN_IN_NAMESPACE:-}" ]; then
  command -v ip >/dev/null || skip "ip (iproute2) is not installed"
  unshare -n true 2>/dev/null || skip "no network namespace can be made here (unshare -n needs root)"
  RELVAN_IN_NAMESPACE=1 exec unshare -n "$0" "$@"
fi

relvan=$1 sim=$2 replay=$3 examples=$4 work_root=$5
group=239.255.0.1 port=2237
# The namespace has only loopback: up, and the route multicast takes there.
ip link set lo up
ip route add 224.0.0.0/4 dev lo src 127.0.0.1

mkdir -p "$work_root"
dir=$(mktemp -d "$work_root/multicast.XXXXXX")
export XDG_RUNTIME_DIR=$dir/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$dir/work/Plugins"
printf '[Settings]\nUDP_Port=%s\nUDP_Group=%s\n' "$port" "$group" >"$dir/work/Plugins/Tolm_JTDX.ini"
tmux_dir=$(mktemp -d "${TMPDIR:-/tmp}/relvan-tmux.XXXXXX")
tmux=(tmux -S "$tmux_dir/server" -f /dev/null)
sim_pid= reader_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "$reader_pid" ] && kill "$reader_pid" 2>/dev/null || true
  "${tmux[@]}" kill-server 2>/dev/null || true
  rm -rf "$tmux_dir"
}
trap cleanup EXIT

screen() { "${tmux[@]}" capture-pane -p -t "${1:-story}"; }
fail() {
  echo "FAIL: $*" >&2
  screen >&2 || true
  echo "(files kept in $dir)" >&2
  exit 1
}
# Waits (10 s, or WAIT_MS milliseconds) until the command succeeds.
wait_until() {
  local what=$1 deadline=$((${EPOCHREALTIME/./} / 1000 + ${WAIT_MS:-10000}))
  shift
  until "$@"; do
    [ $((${EPOCHREALTIME/./} / 1000)) -lt $deadline ] || fail "$what"
    sleep 0.1
  done
}
shows() { screen | grep -Eq -- "$1"; }
second_shows() { screen second | grep -Eq -- "$1"; }

"$sim" --adif "$dir/work/log.adi" --transcript "$dir/work/transcript.txt" >"$dir/sim.log" 2>&1 &
sim_pid=$!
wait_until "tolm-sim did not start" test -S "$XDG_RUNTIME_DIR/Tolm2.Application.sock"

echo "== relvan listens on $group:$port"
"${tmux[@]}" new-session -d -s story -x 80 -y 24 -c "$dir/work" "'$relvan' 2>'$dir/relvan.err'"
wait_until "no status line naming the group" shows "^ *Listening on $group:$port *\$"

echo "== a Status sent to 127.0.0.1 rather than the group is told"
printf 'status dial=14074000 mode=FT8 report=-10 rxdf=1500 txdf=1500\n' >"$dir/local.txt"
"$replay" --to 127.0.0.1 --port "$port" "$dir/local.txt"
wait_until "no word of the Status not sent to the group" shows "^ *JTDX does not send to the group *\$"

echo "== a second relvan, in a folder of its own with the same settings, waits"
mkdir -p "$dir/second/Plugins"
cp "$dir/work/Plugins/Tolm_JTDX.ini" "$dir/second/Plugins/"
"${tmux[@]}" new-session -d -s second -x 80 -y 24 -c "$dir/second" "'$relvan' 2>'$dir/second.err'"
wait_until "the second relvan did not say the port is taken" second_shows "^ *Relvan already listens on port $port *\$"

echo "== a second reader joins the group on the same port"
"$(dirname "$0")/../../support/multicast-reader" "$group" "$port" "$dir/reader.txt" &
reader_pid=$!
wait_until "the second reader did not start" grep -qx ready "$dir/reader.txt"

echo "== JTDX's session goes to the group"
"$replay" --to "$group" --port "$port" "$examples/ft8-session.txt"
"$replay" --dump "$examples/ft8-session.txt" | sed '1i ready' >"$dir/expected.txt"
wait_until "the second reader did not get every datagram" cmp -s "$dir/expected.txt" "$dir/reader.txt"
wait_until "relvan did not show the saved contact" shows '^ *K1ABC saved at [0-9:]+ UTC \(1 today\) *$'
wait_until "the session's last Clear did not empty the fields" shows '^ *\[ +\]  \[ +\]  \[ +\] *$'
[ "$(grep -c '<CALL:5>K1ABC' "$dir/work/log.adi")" = 1 ] || fail "tolm-sim's log: $(cat "$dir/work/log.adi")"
[ "$(grep -cF 'ExecMacro "<SAVEQSO>"' "$dir/work/transcript.txt")" = 1 ] || fail "not saved once"
[ ! -s "$dir/relvan.err" ] || fail "relvan wrote to standard error"
second_shows "^ *Relvan already listens on port $port *\$" || fail "the second relvan took the port"

echo "== the first relvan ends; the second takes the port over"
"${tmux[@]}" send-keys -t story Enter
WAIT_MS=3500 wait_until "the second relvan did not take the port over" second_shows "^ *Listening on $group:$port *\$"
printf 'qso date=2024-06-01 timeon=18:40:00 timeoff=18:41:00 call=W9XYZ grid=EN52 freq=14075500 mode=FT8 sent=-07 rcvd=-09\n' \
  >"$dir/next.txt"
"$replay" --to "$group" --port "$port" "$dir/next.txt"
wait_until "the second relvan did not save the next contact" second_shows "^ *W9XYZ saved at [0-9:]+ UTC \(1 today\) *\$"
[ "$(grep -c '<CALL:5>W9XYZ' "$dir/work/log.adi")" = 1 ] || fail "tolm-sim's log: $(cat "$dir/work/log.adi")"
[ "$(grep -cF 'ExecMacro "<SAVEQSO>"' "$dir/work/transcript.txt")" = 2 ] || fail "not saved once"
[ ! -s "$dir/second.err" ] || fail "the second relvan wrote to standard error"
rm -rf "$dir"
echo "PASS"
