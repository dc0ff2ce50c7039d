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
#  3. the installer, silently installed and uninstalled, and the zip;
#  4. the record vorla.com writes with --chart, read back with pdftotext
#     beside the Linux build's record of the same values.
# The last line reads "N passed, N failed" (test cases; the smoke run, the
# package check and the record check count one each).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_WINDOWS_BUILD_DIR:-$here/build-windows}
linux_build=${VORLA_BUILD_DIR:-$here/build}
start=$(date +%s)

# Qt for Windows from nothing takes longer than all the rest (see the
# README). Within a timed run (scripts/test.sh sets VORLA_CI_START) it is
# built only when it can end before the run's budget, less what the rest of
# this part needs; otherwise this part says so and stops without failing the
# run (VORLA_WINDOWS_REQUIRED=1 makes that a failure). A build cut off at the
# budget is taken up where it stopped by the next run with the same cache.
skip_windows() {
  printf '%s
' "" "#### WINDOWS PART SKIPPED: $1"     "#### Build Qt for Windows once outside the timed run (scripts/build-windows-qt.sh)"     "#### and keep ${VORLA_CACHE_DIR:-~/.cache/vorla}; later runs take it from there." "" >&2
  [ "${VORLA_WINDOWS_REQUIRED:-0}" != 1 ] || exit 1
  exit 0
}
if [ -n "${VORLA_CI_START:-}" ] && ! "$here/scripts/build-windows-qt.sh" --cached >/dev/null; then
  budget=$(( ${VORLA_CI_BUDGET_MINUTES:-85} * 60 ))
  reserve=$(( ${VORLA_WINDOWS_RESERVE_MINUTES:-12} * 60 )) # the program, its tests, the run
  needed=$(( ${VORLA_QT_BUILD_MINUTES:-25} * 60 ))         # Qt from nothing on 2 quiet cores (20 measured)
  export VORLA_QT_DEADLINE=$(( VORLA_CI_START + budget - reserve ))
  left=$(( VORLA_QT_DEADLINE - $(date +%s) ))
  if [ "$left" -lt "$needed" ]; then
    skip_windows "Qt for Windows is not cached, and building it (about $((needed / 60)) min) does not fit the $((left / 60)) min left of the run's ${VORLA_CI_BUDGET_MINUTES:-85} min"
  fi
  echo "== Windows: building Qt for Windows, to stop by $(date -d "@$VORLA_QT_DEADLINE" +%H:%M)"
fi
"$here/scripts/install-deps.sh" build windows
set +e
"$here/scripts/build-windows.sh"
build_status=$?
set -e
if [ "$build_status" = 124 ]; then
  skip_windows "the Qt build reached the run's time budget and stopped; the next run goes on"
fi
[ "$build_status" = 0 ] || exit "$build_status"

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
# No window manager runs on this X server. Wine's windows as it manages them
# wait for one at every map and unmap (about a second each, every window
# test); unmanaged, wine draws their frames and moves the focus itself, as
# Windows does.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$wineserver" -w

echo "== Windows: tests under wine (left out, as they need Linux: the CUPS print queue," \
     "the Debian package, the input method, the small tmpfs disks)"
rm -rf "$build/test-results"
mkdir -p "$build/test-results"
ctest_start=$(date +%s)
set +e
# Wine says for every start that drive Z: (the Linux root) has no volume
# label; nothing to read there.
(cd "$build" && ctest --output-on-failure --timeout 900 -j2 --output-junit ctest-results.xml 2>&1 |
   grep -v 'FS volume label and serial are not available')
set -e
ctest_time=$(( $(date +%s) - ctest_start ))

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
  # Cut to the window: the rest of the screen is the X server's black.
  convert "$shots-main-window.png" -trim +repage "$here/docs/windows-main-window.png"
  convert "$shots-chart-window.png" -trim +repage "$here/docs/windows-chart-window.png"
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
  # wine's reg.exe says "Unable to find the specified registry key" on its
  # standard output: a missing key is one that names no vorla.exe.
  [ ! -e "$programs/vorla.exe" ] && [ ! -e "$shortcut" ] && ! file_type | grep -q 'vorla.exe' ||
    { echo "package: the uninstaller left things behind" >&2; package_ok=0; }
  zip=$(ls "$build"/package/vorla-*-windows.zip 2>/dev/null | head -n 1)
  [ -n "$zip" ] && [ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "README.txt vorla.com vorla.exe vorla.ico " ] ||
    { echo "package: the zip does not hold the installer's files" >&2; package_ok=0; }
fi
[ "$package_ok" = 1 ] && echo "package: the installer installed, associated .vorla and uninstalled; the zip holds the same files"

# The record as vorla.com writes it from cmd.exe (--chart FILE -o OUT.pdf),
# laid out with the fonts Windows gives, read back here, since the tests that
# read PDFs cannot under wine: 35 values with a trend, against the Linux
# build's record of the same file (tests/chart/record_pdf_check.py).
record_ok=1
record_dir=$build/record
rm -rf "$record_dir"
mkdir -p "$record_dir"
values=$(awk 'BEGIN { for (i = 1; i <= 35; ++i) printf "%.3f\n", 25 + 0.01 * i + 0.02 * sin(i * 1.7) }')
printf '%s\r\n' $values > "$record_dir/trend.txt"
record_args=(--type xrs --upper 25.5 --lower 24.9)
"$wine" "$build/vorla.com" --chart "$(winpath "$record_dir/trend.txt")" "${record_args[@]}" \
  -o "$(winpath "$record_dir/windows.pdf")" || { echo "record: vorla.com --chart failed" >&2; record_ok=0; }
"$linux_build/src/app/vorla" --chart "$record_dir/trend.txt" "${record_args[@]}" \
  -o "$record_dir/linux.pdf" || { echo "record: the Linux build's --chart failed" >&2; record_ok=0; }
if [ "$record_ok" = 1 ]; then
  # shellcheck disable=SC2086
  python3 "$here/tests/chart/record_pdf_check.py" "$record_dir/windows.pdf" "$record_dir/linux.pdf" \
    $values || record_ok=0
fi

# The counts of the test cases, from each executable's own results; an
# executable that wrote none, or ended with a failure its results do not
# show (a crash at exit, a time-out), counts as one failed test.
read -r tests failures skipped < <(python3 - "$build" <<'PY'
import os, sys, xml.etree.ElementTree as ET
build = sys.argv[1]
t = f = s = 0
try:
    runs = list(ET.parse(os.path.join(build, "ctest-results.xml")).getroot().iter("testcase"))
except (OSError, ET.ParseError) as error:
    print(f"no ctest results: {error}", file=sys.stderr)
    runs = []; t += 1; f += 1
for run in runs:
    name = run.get("name")
    ended_badly = run.get("status") not in ("run", "passed") or run.find("failure") is not None
    results = os.path.join(build, "test-results", name + ".xml")
    if not os.path.exists(results):
        print(f"{name}: no results (it crashed or did not start)", file=sys.stderr)
        t += 1; f += 1
        continue
    own = 0
    for case in ET.parse(results).getroot().iter("testcase"):
        t += 1
        full = f"{name}: {case.get('classname')}.{case.get('name')}"
        if case.find("failure") is not None:
            f += 1; own += 1
            print(f"{full} failed", file=sys.stderr)
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            s += 1
            why = case.find("skipped")
            print(f"{full} skipped: {why.get('message', '') if why is not None else ''}".rstrip(),
                  file=sys.stderr)
        elif case.get("status") == "notrun":
            s += 1
    if ended_badly and own == 0:
        print(f"{name}: ended with a failure its results do not show", file=sys.stderr)
        t += 1; f += 1
print(t, f, s)
PY
)
passed=$((tests - failures - skipped + smoke_ok + package_ok + record_ok))
failed=$((failures + 3 - smoke_ok - package_ok - record_ok))
echo "Windows part took $(( $(date +%s) - start )) s (the tests under wine $ctest_time s)"
echo "$passed passed, $failed failed, $skipped skipped under wine"
[ "$failed" = 0 ]
