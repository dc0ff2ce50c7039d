#!/usr/bin/env bash
# Types into the real main window through a real Japanese input method: an X
# server of its own (Xvfb), a D-Bus session, ibus-daemon with the Mozc engine
# switched on at launch, and keys sent with xdotool. The window is the probe
# program (InputMethodProbe.cpp), which writes the list's items and the entry
# box's state to files that each step waits on.
#
# Mozc will not run as root, so as root the session runs as the dedicated
# user vorla-ime (created when missing), from a copy of the probe in a folder
# that user owns. Whatever cannot start makes the test report itself skipped
# (exit 77) with the reason.
#
#   InputMethodTest.sh <probe program>
set -uo pipefail

skip() {
  echo "SKIP: $*"
  exit 77
}

if [ "${1:-}" != --session ]; then
  probe=${1:?usage: $0 <probe program>}
  [ -x "$probe" ] || { echo "FAIL: no probe program at $probe" >&2; exit 1; }
  for tool in Xvfb xdotool dbus-daemon ibus-daemon ibus; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  [ -x /usr/lib/ibus-mozc/ibus-engine-mozc ] || skip "Mozc (ibus-mozc) is not installed"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "$probe" "$work/probe"
  cp "$0" "$work/session.sh"
  run_as=()
  if [ "$(id -u)" -eq 0 ]; then
    user=vorla-ime
    if ! id -u "$user" >/dev/null 2>&1; then
      useradd --create-home --shell /bin/bash "$user" >/dev/null 2>&1 \
        || skip "cannot create the user $user, whom Mozc needs instead of root"
    fi
    chown -R "$user:" "$work"
    chmod 700 "$work"
    command -v runuser >/dev/null || skip "runuser is not installed"
    run_as=(runuser -u "$user" --)
  fi
  # A clean environment: the session's own home, bus and display only.
  "${run_as[@]}" env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 HOME="$work/home" \
    ${VORLA_IME_SCREENSHOT:+VORLA_IME_SCREENSHOT="$VORLA_IME_SCREENSHOT"} \
    bash "$work/session.sh" --session "$work"
  exit $?
fi

# ---- The session, as a user Mozc accepts. ----
work=$2
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
export XDG_CACHE_HOME=$work/home/.cache GSETTINGS_BACKEND=memory
mkdir -p "$XDG_CONFIG_HOME/mozc" "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
# Mozc's engine list as installed, plus hiragana from the first key on.
cat >"$XDG_CONFIG_HOME/mozc/ibus_config.textproto" <<'CONFIG'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
CONFIG

pids=()
probe_pid=
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  # Mozc's server leaves its engine's process group; it is this session's
  # when it has this session's home.
  for pid in $(pgrep -u "$(id -u)" -x 'mozc_server|mozc_renderer'); do
    grep -qz "^HOME=$HOME\$" "/proc/$pid/environ" 2>/dev/null && kill "$pid" 2>/dev/null
  done
  sleep 0.2
}
trap cleanup EXIT

# Waits up to $2 tenths of a second for the command $1 to succeed.
wait_for() {
  local tries=$2
  while ! eval "$1" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.1
  done
}

Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for '[ -s "$work/display" ]' 100 || skip "Xvfb did not start: $(tail -3 "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")

dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$work/bus" 2>&1 \
  || skip "no D-Bus session bus: $(cat "$work/bus")"
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$work/bus")
pids+=("$(sed -n 2p "$work/bus")")
export DBUS_SESSION_BUS_ADDRESS

ibus-daemon --panel=disable --emoji-extension=disable --replace >"$work/ibus.log" 2>&1 &
pids+=($!)
wait_for 'ibus list-engine | grep -q "mozc-jp"' 150 \
  || skip "IBus does not offer Mozc: $(tail -3 "$work/ibus.log")"
# Switching answers with a failure even when it worked: ask which engine runs.
ibus engine mozc-jp >/dev/null 2>&1
wait_for '[ "$(ibus engine)" = mozc-jp ]' 50 || skip "IBus cannot switch to Mozc"
IBUS_ADDRESS=$(ibus address)
export IBUS_ADDRESS

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# What a file holds, line breaks shown as |.
show() { tr '\n' '|' <"$1" 2>/dev/null; }

# Each case starts a fresh window and runs its steps in turn: "keys:KEYS"
# sends those X key names, "preedit=TEXT" waits for the composition to read
# TEXT, "box=TEXT" for the entry box's own text, "items=A|B|" for the list.
# The cases that must enter nothing end by switching Mozc off (半角/全角) and
# entering 1: whatever had slipped into the list before it shows up ahead of it.
cases=(
  "minus number, committed, then entered;keys:minus 3 period 5;preedit=−３．５;keys:Return;box=−３．５;keys:Return;items=−３．５|;box="
  "composition cancelled with Escape;keys:9 period 9;preedit=９．９;keys:Escape;preedit=;keys:Return;keys:Zenkaku_Hankaku 1 Return;items=1|;box="
  "composition erased with Backspace;keys:9 period 9;preedit=９．９;keys:BackSpace BackSpace BackSpace;preedit=;keys:Return;keys:Zenkaku_Hankaku 1 Return;items=1|;box="
  "direct input after 半角/全角;keys:Zenkaku_Hankaku 1 2 period 5 Return;items=12.5|;box="
)

for entry in "${cases[@]}"; do
  IFS=';' read -r -a steps <<<"$entry"
  name=${steps[0]}
  dir=$work/case
  rm -rf "$dir" && mkdir -p "$dir"
  QT_IM_MODULE=ibus QT_QPA_PLATFORM=xcb "$work/probe" "$dir" >"$dir/probe.log" 2>&1 &
  probe_pid=$!
  if ! wait_for 'xdotool search --onlyvisible --pid $probe_pid' 100 \
     || ! wait_for '[ -f "$dir/items.txt" ]' 50; then
    fail "$name: the window did not appear: $(cat "$dir/probe.log")"
    kill "$probe_pid" 2>/dev/null; wait "$probe_pid" 2>/dev/null; probe_pid=
    continue
  fi
  sleep 0.5 # the input context reaches IBus once the box has focus
  # Mozc keeps its mode across windows: the ひらがな key starts each case in
  # hiragana, whatever the case before left.
  xdotool key Hiragana_Katakana
  for step in "${steps[@]:1}"; do
    case $step in
      keys:*)
        read -r -a keys <<<"${step#keys:}"
        xdotool key --delay 120 "${keys[@]}"
        ;;
      preedit=*)
        want=${step#preedit=}
        if ! wait_for '[ "$(sed -n 2p "$dir/entry.txt")" = "$want" ]' 50; then
          fail "$name: composition '$(sed -n 2p "$dir/entry.txt")', expected '$want'" \
               "(box '$(sed -n 1p "$dir/entry.txt")')"
          break
        fi
        if [ -n "$want" ] && [ -n "${VORLA_IME_SCREENSHOT:-}" ] && command -v import >/dev/null; then
          import -window root "$VORLA_IME_SCREENSHOT" 2>/dev/null
        fi
        ;;
      box=*)
        want=${step#box=}
        if ! wait_for '[ "$(sed -n 1p "$dir/entry.txt")" = "$want" ]' 50; then
          fail "$name: entry box '$(sed -n 1p "$dir/entry.txt")', expected '$want'"
          break
        fi
        ;;
      items=*)
        want=${step#items=}
        if ! wait_for '[ "$(show "$dir/items.txt")" = "$want" ]' 50; then
          fail "$name: list '$(show "$dir/items.txt")', expected '$want'"
          break
        fi
        ;;
    esac
  done
  kill "$probe_pid" 2>/dev/null
  wait "$probe_pid" 2>/dev/null
  probe_pid=
  echo "case done: $name"
done

if [ $failures -gt 0 ]; then
  echo "$failures case(s) failed" >&2
  exit 1
fi
echo "all input-method cases passed"
