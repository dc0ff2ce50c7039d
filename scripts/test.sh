#!/usr/bin/env bash
# Installs what is missing (install-deps.sh build test), builds Vorla with its
# tests and runs every test,
# three times over:
#  1. the ordinary build (build/);
#  2. a short smoke run of every fuzz target (scripts/fuzz.sh, 20 s each);
#  3. the whole suite again built with AddressSanitizer, LeakSanitizer and
#     UndefinedBehaviorSanitizer (build-asan/); any report fails the run
#     (one leak suppression, Qt's cache of fontconfig fallback patterns:
#     scripts/lsan.supp).
# Window tests draw offscreen; tests that need a service start their own.
#  4. the Windows build (cross-compiled with MinGW-w64 against a static Qt
#     kept in ~/.cache/vorla, built beside passes 1-3 when it is not there)
#     and its tests under wine (scripts/test-windows.sh).
# VORLA_SKIP_FUZZ=1, VORLA_SKIP_SANITIZERS=1 or VORLA_SKIP_WINDOWS=1 leave
# out pass 2, 3 or 4.
set -euo pipefail
# The Windows part measures what is left of the run's time from here.
export VORLA_CI_START=${VORLA_CI_START:-$(date +%s)}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VORLA_BUILD_DIR:-$here/build}

# Qt for Windows from nothing takes about 20 minutes of both cores. When it
# is not cached, it is built beside the Linux passes, so that it also takes
# the processor time they leave idle (links, single-threaded tests, the fuzz
# runs), and the Windows part waits for it. It runs in a session of its own,
# to be stopped whole if the run ends early; the kernel's autogroups then
# share the processor evenly between it and the Linux passes, whatever its
# nice value. Every package is installed first, as apt takes one caller at a
# time.
qt_pid=
qt_log=$here/build-windows/qt-build.log
if [ "${VORLA_SKIP_WINDOWS:-0}" != 1 ]; then
  "$here/scripts/install-deps.sh" build test windows
  if ! "$here/scripts/build-windows-qt.sh" --cached >/dev/null 2>&1; then
    mkdir -p "$(dirname "$qt_log")"
    # Stopped where the Windows part's own budget would stop it (see
    # scripts/test-windows.sh); a build cut off goes on in the next run.
    export VORLA_QT_DEADLINE=$(( VORLA_CI_START + (${VORLA_CI_BUDGET_MINUTES:-85} - ${VORLA_WINDOWS_RESERVE_MINUTES:-12}) * 60 ))
    echo "== Qt for Windows is not cached: building it beside the Linux passes (log: $qt_log)"
    setsid nice -n 19 "$here/scripts/build-windows-qt.sh" >"$qt_log" 2>&1 &
    qt_pid=$!
    trap '[ -z "$qt_pid" ] || kill -TERM -- "-$qt_pid" 2>/dev/null || true' EXIT
    unset VORLA_QT_DEADLINE
  fi
fi

"$here/scripts/build.sh"
(cd "$build" && ctest --output-on-failure -j"$(nproc)")

if [ "${VORLA_SKIP_FUZZ:-0}" != 1 ]; then
  "$here/scripts/fuzz.sh" 20
fi

if [ "${VORLA_SKIP_SANITIZERS:-0}" != 1 ]; then
  asan=${VORLA_ASAN_BUILD_DIR:-$here/build-asan}
  flags="-O1 -g -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
  cmake -S "$here" -B "$asan" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Debug -DVORLA_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  cmake --build "$asan" -j"$(nproc)"
  # intercept_tls_get_addr=0: the sanitizer runtime of GCC 12 can take a
  # dynamic TLS block for an old glibc layout when its address happens to sit
  # at a particular page offset, and LeakSanitizer then crashes at exit after
  # a clean run ("Tracer caught signal 11"). Leaks are still checked; only the
  # dynamic TLS of loaded plugins is not scanned as a root.
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  # Qt's fallback-font cache of fontconfig patterns (see the file).
  export LSAN_OPTIONS=suppressions=$here/scripts/lsan.supp:print_suppressions=0
  (cd "$asan" && ctest --output-on-failure -j"$(nproc)")
fi

if [ "${VORLA_SKIP_WINDOWS:-0}" != 1 ]; then
  if [ -n "$qt_pid" ]; then
    echo "== Waiting for the Qt for Windows build begun beside the Linux passes"
    wait "$qt_pid" || echo "== The Qt for Windows build ended with status $? (its log: $qt_log)"
    qt_pid=
    tail -n 3 "$qt_log"
  fi
  "$here/scripts/test-windows.sh"
else
  echo "== Windows part left out (VORLA_SKIP_WINDOWS=1)"
fi
