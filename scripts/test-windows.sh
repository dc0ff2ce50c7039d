#!/usr/bin/env bash
# Builds Vorla for Windows (scripts/build-windows.sh, with the cached Qt) and
# runs it under wine64 on an X server of its own (Xvfb), in a wine prefix made
# afresh for the run (inside the build folder), under ja_JP.UTF-8:
#  1. the unit, window and system tests that Windows has (ctest; each test
#     executable runs its tests in one start, as every start of wine costs);
#  2. a smoke run of vorla.exe itself: it opens a Shift JIS value file given
#     as its argument, takes typed values, computes, saves under the native
#     save dialog and exits; the saved bytes must equal those the Linux build
#     saves after the same keys, and the scratch file c:\Vovizuzuv.dat left
#     there beforehand must be gone.
# Left out, since they need Linux itself: the print queue test (a CUPS
# scheduler of its own), the Debian package test, the input-method test (IBus
# with Mozc) and the small-disk tests (tmpfs mounts).
# VORLA_SCREENSHOTS=1 also writes docs/windows-main-window.png and
# docs/windows-chart-window.png from the smoke run.
#  3. the installer, silently installed and uninstalled, and the zip.
# The last line reads "N passed, N failed" (test cases; the smoke run and the
# package check count one each).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_WINDOWS_BUILD_DIR:-$here/build-windows}
linux_build=${VORLA_BUILD_DIR:-$here/build}
start=$(date +%s)

"$here/scripts/install-deps.sh" build windows
"$here/scripts/build-windows.sh"

as_root=(); [ "$(id -u)" -eq 0 ] || as_root=(sudo)
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  "${as_root[@]}" localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# A fresh wine prefix: no scratch files, settings or journal of an earlier run.
export WINEPREFIX=$build/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko to install
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
# A Windows path of a file here: wine's drive Z: is the root folder.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
rm -rf "$WINEPREFIX"

display=
for n in $(seq 91 120); do
  if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display

"$wine" wineboot --init >/dev/null 2>&1
# Wine has none of the Windows Japanese faces; the system's Noto CJK answers
# to their names, so the program finds "its" fonts as on a Japanese Windows.
replace_font() {
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$1" /t REG_SZ /d "$2" /f \
    >/dev/null 2>&1
}
replace_font 'MS UI Gothic' 'Noto Sans CJK JP'
replace_font 'MS Gothic' 'Noto Sans Mono CJK JP'
replace_font 'ＭＳ ゴシック' 'Noto Sans Mono CJK JP'
replace_font 'MS Mincho' 'Noto Serif CJK JP'
replace_font 'ＭＳ 明朝' 'Noto Serif CJK JP'
"$wineserver" -w

echo "== Windows: tests under wine (left out, as they need Linux: the CUPS print queue," \
     "the Debian package, the input method, the small tmpfs disks)"
rm -rf "$build/test-results"
set +e
(cd "$build" && ctest --output-on-failure --timeout 900)
ctest_status=$?
set -e

# The smoke run of the program itself, and the same keys for the Linux build.
smoke_dir=$build/smoke
rm -rf "$smoke_dir"
mkdir -p "$smoke_dir/windows" "$smoke_dir/linux"
# 測定値, 12.5, ±0.1, ｹﾞｰｼﾞ 3 in Shift JIS, CR LF.
printf '\x91\xaa\x92\xe8\x92\x6c\r\n12.5\r\n\x81\x7d0.1\r\n\xb9\xde\xb0\xbc\xde 3\r\n' \
  > "$smoke_dir/values.txt"

# Types into the window of $1 (a process id): two values, the calculation,
# then ファイル → 名前を付けて保存 into $2, and ファイル → 終了. $3: a file
# name prefix for screenshots, or empty.
drive_window() {
  local pid=$1 out=$2 shots=$3 window=
  for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name 'Vorla' 2>/dev/null | head -n 1) || true
    [ -z "$window" ] && window=$(xdotool search --onlyvisible --name '^Vorla' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || { echo "smoke: no window appeared" >&2; return 1; }
  sleep 2
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  sleep 0.5
  local value
  for value in 13.25 9; do
    xdotool type --delay 60 "$value"; xdotool key Return; sleep 0.3
  done
  # From the entry box, two steps back are 「演算開始」.
  xdotool key shift+Tab; sleep 0.2; xdotool key shift+Tab; sleep 0.2; xdotool key space
  sleep 1.5
  [ -z "$shots" ] || import -window root "$shots-main-window.png"
  xdotool key alt+f; sleep 0.5; xdotool key s; sleep 3
  xdotool type --delay 40 "$out"; sleep 0.3; xdotool key Return
  sleep 2
  if [ -n "$shots" ]; then
    xdotool windowfocus "$window" 2>/dev/null || true; sleep 0.3
    xdotool key alt+v; sleep 0.5; xdotool key g; sleep 3
    import -window root "$shots-chart-window.png"
    xdotool key alt+F4; sleep 1 # closes the chart window
  fi
  xdotool windowfocus "$window" 2>/dev/null || true; sleep 0.3
  xdotool key alt+f; sleep 0.5; xdotool key e
}

smoke_ok=1
scratch="$WINEPREFIX/drive_c/Vovizuzuv.dat"
printf '1\r\n' > "$scratch"
shots=
[ "${VORLA_SCREENSHOTS:-0}" = 1 ] && shots=$smoke_dir/windows/shot
windows_out=$(winpath "$smoke_dir/windows/saved.txt")
"$wine" "$build/vorla.exe" "$(winpath "$smoke_dir/values.txt")" &
vorla_pid=$!
if ! drive_window "$vorla_pid" "$windows_out" "$shots"; then smoke_ok=0; fi
for _ in $(seq 40); do kill -0 "$vorla_pid" 2>/dev/null || break; sleep 0.5; done
if kill -0 "$vorla_pid" 2>/dev/null; then
  echo "smoke: vorla.exe did not exit" >&2; smoke_ok=0; kill "$vorla_pid" 2>/dev/null || true
fi
wait "$vorla_pid" 2>/dev/null || { echo "smoke: vorla.exe exited with a failure" >&2; smoke_ok=0; }
if [ -e "$scratch" ]; then echo "smoke: c:\\Vovizuzuv.dat was not deleted at start" >&2; smoke_ok=0; fi

# The same on Linux, with the Linux build's own program.
if [ ! -x "$linux_build/src/app/vorla" ]; then
  cmake -S "$here" -B "$linux_build" -DVORLA_TESTS=ON >/dev/null
  cmake --build "$linux_build" -j"$(nproc)" --target vorla
fi
(
  export HOME=$smoke_dir/linux/home XDG_RUNTIME_DIR=$smoke_dir/linux/run QT_QPA_PLATFORM=xcb
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
  "$linux_build/src/app/vorla" "$smoke_dir/values.txt" &
  pid=$!
  drive_window "$pid" "$smoke_dir/linux/saved.txt" "" || true
  for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  kill "$pid" 2>/dev/null || true
)
if [ ! -f "$smoke_dir/windows/saved.txt" ]; then
  echo "smoke: vorla.exe saved nothing" >&2; smoke_ok=0
elif [ ! -f "$smoke_dir/linux/saved.txt" ]; then
  echo "smoke: the Linux build saved nothing to compare with" >&2; smoke_ok=0
elif ! cmp "$smoke_dir/windows/saved.txt" "$smoke_dir/linux/saved.txt"; then
  echo "smoke: the saved files differ" >&2; smoke_ok=0
fi
if [ "$smoke_ok" = 1 ]; then
  echo "smoke: vorla.exe started, computed, saved $(wc -c < "$smoke_dir/windows/saved.txt") bytes" \
       "of Shift JIS equal to the Linux build's, and exited"
fi
if [ -n "$shots" ] && [ -f "$shots-main-window.png" ]; then
  cp "$shots-main-window.png" "$here/docs/windows-main-window.png"
  cp "$shots-chart-window.png" "$here/docs/windows-chart-window.png"
fi

# The installer, silently: the files, the Start-menu entry and the file type
# are there, and after the uninstaller none of them is. Then the zip.
package_ok=1
setup=$(ls "$build"/package/vorla-*-setup.exe 2>/dev/null | head -n 1)
programs="$WINEPREFIX/drive_c/Program Files/Vorla"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorla 工程統計.lnk"
file_type() { "$wine" reg query 'HKLM\Software\Classes\Vorla.Sheet\shell\open\command' 2>/dev/null | tr -d '\r'; }
if [ -z "$setup" ]; then
  echo "package: no installer was built" >&2; package_ok=0
else
  "$wine" "$setup" /S; "$wineserver" -w
  for f in vorla.exe vorla.com uninstall.exe; do
    [ -f "$programs/$f" ] || { echo "package: $f was not installed" >&2; package_ok=0; }
  done
  [ -f "$shortcut" ] || { echo "package: no Start-menu entry" >&2; package_ok=0; }
  file_type | grep -q 'vorla.exe" "%1"' || { echo "package: .vorla is not associated" >&2; package_ok=0; }
  "$wine" "$programs/uninstall.exe" /S; "$wineserver" -w
  [ ! -e "$programs/vorla.exe" ] && [ ! -e "$shortcut" ] && [ -z "$(file_type)" ] ||
    { echo "package: the uninstaller left things behind" >&2; package_ok=0; }
  zip=$(ls "$build"/package/vorla-*-windows.zip 2>/dev/null | head -n 1)
  [ -n "$zip" ] && [ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "README.txt vorla.com vorla.exe vorla.ico " ] ||
    { echo "package: the zip does not hold the installer's files" >&2; package_ok=0; }
fi
[ "$package_ok" = 1 ] && echo "package: the installer installed, associated .vorla and uninstalled; the zip holds the same files"

# The counts of the test cases, from each executable's results.
read -r tests failures skipped < <(python3 - "$build/test-results" <<'PY'
import glob, sys, xml.etree.ElementTree as ET
t = f = s = 0
for name in glob.glob(sys.argv[1] + "/*.xml"):
    root = ET.parse(name).getroot()
    t += int(root.get("tests", 0)); f += int(root.get("failures", 0)) + int(root.get("errors", 0))
    s += int(root.get("skipped", 0)) + int(root.get("disabled", 0))
print(t, f, s)
PY
)
passed=$((tests - failures - skipped + smoke_ok + package_ok))
failed=$((failures + 2 - smoke_ok - package_ok))
if [ "$ctest_status" != 0 ] && [ "$failures" = 0 ]; then failed=$((failed + 1)); fi
echo "Windows part took $(( $(date +%s) - start )) s; $skipped skipped under wine"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
