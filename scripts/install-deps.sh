#!/usr/bin/env bash
# Installs the Debian packages that one or more jobs need, only those that are
# missing; run as root or with sudo.
#
#   install-deps.sh build          # build and run the program (scripts/run.sh)
#   install-deps.sh build test     # also run the test suite (scripts/test.sh)
#   install-deps.sh bench | fuzz | screens | windows
set -euo pipefail

# Building the program, and what it loads when it runs.
build=(
  cmake make g++        # the build itself
  pkg-config            # Qt's CMake files look some system libraries up with it
  qt6-base-dev          # Qt 6 Core, Gui, Widgets and PrintSupport headers and CMake files
  qt6-base-dev-tools    # moc and rcc, which the build runs
  libgl-dev             # OpenGL headers, which Qt 6 Gui's CMake files require
  libboost-dev          # Boost.Math: the chi-square and normal distributions of the capability
  nlohmann-json3-dev    # the sheet file's and the --json output's JSON
  qt6-svg-dev           # Qt SVG, which draws the package's PNG icons from the SVG one
  libqt6svg6            # at run time: the SVG icon engine for the window icon
  qt6-translations-l10n # at run time: Qt's Japanese texts (dialog buttons, file dialogs)
  fonts-noto-cjk        # at run time: a Japanese font for the window
  fonts-dejavu-core     # at run time: the record's Latin letters and digits, which a PDF reader can copy
)

# The test suite, on top of the build list.
test=(
  libgtest-dev libgmock-dev googletest # GoogleTest and GoogleMock
  cups cups-client cups-bsd            # the print test's own CUPS scheduler and its tools
  printer-driver-cups-pdf              # the queue that prints the test's reports to PDF
  poppler-utils                        # pdftotext, to read those reports back
  clang libclang-rt-14-dev             # the fuzz smoke run (libFuzzer, sanitizers)
  dpkg-dev file                        # cpack's .deb (dpkg-shlibdeps) in the package test
  desktop-file-utils appstream         # validators of the desktop entry and the metainfo
  lintian                              # the Debian package's own checks
  man-db groff-base                    # renders the manual page to check it
  xvfb xauth xdotool                   # the input-method test's X server and its typed keys
  dbus-daemon ibus ibus-mozc           # that test's D-Bus session, IBus and Mozc
)

# scripts/bench.sh.
bench=(
  libbenchmark-dev      # Google Benchmark
)

# scripts/fuzz.sh.
fuzz=(
  clang libclang-rt-14-dev # libFuzzer and the clang sanitizers
)

# Trying the window by hand on a machine without a screen, and taking the
# screenshots of docs/.
screens=(
  xvfb xauth            # a virtual X display (xvfb-run)
  imagemagick           # import, to take the screenshots
)

# The Windows build and its test run under wine (scripts/build-windows-qt.sh,
# build-windows.sh, test-windows.sh).
windows=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix # the cross compiler
  binutils-mingw-w64-x86-64                         # windres, for the icon
  cmake ninja-build dpkg-dev   # Qt's build; apt-get source unpacks with dpkg-source
  qt6-base-dev qt6-base-dev-tools # moc, rcc and uic, run on this machine
  qt6-translations-l10n        # qtbase_ja.qm, built into vorla.exe
  googletest                   # GoogleTest's source, cross-built for the tests
  libboost-dev nlohmann-json3-dev # header-only, shown to the cross build on their own
  ccache                       # a rebuild of the Windows objects costs seconds
  wine64                       # runs the tests and the program
  xvfb xauth xdotool imagemagick # the tests' X server, typed keys, screenshots
  librsvg2-bin                 # rsvg-convert draws the icon from its SVG
  qt6-qpa-plugins fonts-noto-cjk # the Linux build beside it in the smoke run (xcb)
  python3                      # counts the test results
  locales                      # localedef for ja_JP.UTF-8
  nsis zip unzip               # the installer and the zip, and a look into it
  xz-utils ca-certificates
)

[ $# -gt 0 ] || set -- build
packages=()
for list in "$@"; do
  case $list in
    build) packages+=("${build[@]}") ;;
    test) packages+=("${build[@]}" "${test[@]}") ;;
    bench) packages+=("${build[@]}" "${bench[@]}") ;;
    fuzz) packages+=("${build[@]}" "${fuzz[@]}") ;;
    screens) packages+=("${screens[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    *) echo "usage: $0 [build|test|bench|fuzz|screens|windows]..." >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
else
  as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
