#!/usr/bin/env bash
# Builds a static Qt 6 for 64-bit Windows from Debian's own qt6-base source
# (the source package, with Debian's patches applied by dpkg-source), cross
# compiled with MinGW-w64 and Debian's host tools (moc, rcc, uic from /usr).
#
# The result goes into a cache folder outside the checkout, named after the
# Qt version and a hash of the configure line and toolchain file:
#   ${VORLA_CACHE_DIR:-$HOME/.cache/vorla}/qt-win-<version>-<hash>
# A finished build there is found and reused; delete the folder to rebuild.
# Prints the folder's path as its last line.
#   build-windows-qt.sh --cached   only says whether it is there (exit 1 if not)
# VORLA_QT_DEADLINE (seconds since the epoch) stops a build from nothing at
# that moment (exit 124); the next run takes it up where it stopped.
#
# Only Core, Gui, Widgets, PrintSupport and Test are built, with the windows
# platform plugin and the windowsvista style, and as few features as Vorla can
# do with. The wintab folder is not in Debian's source, hence no tablet events.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=${VORLA_CACHE_DIR:-$HOME/.cache/vorla}
jobs=${VORLA_JOBS:-$(nproc)}
toolchain=$here/cmake/mingw-w64.cmake

"$here/scripts/install-deps.sh" windows

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
version=${version:-6.4.2+dfsg-10}
upstream=${version%%+*}     # 6.4.2
upstream=${upstream#*:}

options=(
  -release -static -static-runtime -opensource -confirm-license
  -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-dbus
  -no-feature-concurrent -no-opengl -no-feature-vulkan -no-feature-direct2d
  -no-feature-tabletevent
  -no-freetype -qt-harfbuzz -qt-zlib -qt-pcre -qt-libpng -no-libjpeg -no-gif
  -no-icu -no-feature-sessionmanager
)
key=$( (echo "$version"; printf '%s\n' "${options[@]}"; cat "$toolchain") | sha256sum | cut -c1-12)
prefix=$cache/qt-win-$upstream-$key

# Qt 6.4 builds its DirectWrite font engine and font database into Gui only
# with Direct2D, which Vorla does not need, while the windows platform plugin
# uses them either way. They are compiled here from the same source, as Gui's
# own objects are, and added to libQt6Gui.a (once; vorla links dwrite and d2d1).
add_directwrite_to_gui() {
  local lib=$prefix/lib/libQt6Gui.a objects=$prefix/.vorla-directwrite
  if x86_64-w64-mingw32-gcc-ar-posix t "$lib" | grep -qx 'directwriteface.cpp.obj'; then
    return 0
  fi
  mkdir -p "$objects"
  local name
  for name in qwindowsfontenginedirectwrite qwindowsdirectwritefontdatabase; do
    x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -fno-exceptions \
      -DQT_BUILD_GUI_LIB -DQT_NO_FOREACH -DUNICODE -D_UNICODE -DWIN32 -DQT_NO_DEBUG \
      -I"$prefix/include" -I"$prefix/include/QtCore" -I"$prefix/include/QtCore/$upstream" \
      -I"$prefix/include/QtCore/$upstream/QtCore" -I"$prefix/include/QtGui" \
      -I"$prefix/include/QtGui/$upstream" -I"$prefix/include/QtGui/$upstream/QtGui" \
      -I"$prefix/mkspecs/win32-g++" \
      -c "$src/src/gui/text/windows/$name.cpp" -o "$objects/$name.cpp.obj"
  done
  # The DirectWrite database reads application fonts through a base-class
  # helper that Qt also builds only with Direct2D. Vorla adds no fonts from
  # memory and the platform takes this database only when told
  # (-platform windows:fontengine=directwrite), so the helper finds none.
  printf '%s\n' '#include <QtGui/private/qwindowsfontdatabasebase_p.h>' \
    'IDWriteFontFace *QWindowsFontDatabaseBase::createDirectWriteFace(const QByteArray &) const' \
    '{ return nullptr; }' > "$objects/directwriteface.cpp"
  x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -fno-exceptions \
    -DQT_BUILD_GUI_LIB -DUNICODE -D_UNICODE -DWIN32 -DQT_NO_DEBUG \
    -I"$prefix/include" -I"$prefix/include/QtCore" -I"$prefix/include/QtCore/$upstream" \
    -I"$prefix/include/QtCore/$upstream/QtCore" -I"$prefix/include/QtGui" \
    -I"$prefix/include/QtGui/$upstream" -I"$prefix/include/QtGui/$upstream/QtGui" \
    -I"$prefix/mkspecs/win32-g++" \
    -c "$objects/directwriteface.cpp" -o "$objects/directwriteface.cpp.obj"
  x86_64-w64-mingw32-gcc-ar-posix rs "$lib" "$objects"/*.obj
}

src=$cache/src/qt6-base-$version
if [ "${1:-}" = --cached ]; then
  [ -f "$prefix/.vorla-complete" ] && echo "$prefix" && exit 0
  exit 1
fi
if [ -f "$prefix/.vorla-complete" ]; then
  add_directwrite_to_gui
  echo "Qt for Windows found in the cache" >&2
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache/src"
if [ ! -f "$src/.vorla-extracted" ]; then
  # The source package comes from the same Debian archive as the binaries.
  if ! grep -rqs '^\s*\(deb-src\|Types:.*deb-src\)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    as_root=(); [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
      'Suites: bookworm bookworm-updates' 'Components: main' \
      'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
      "${as_root[@]}" tee /etc/apt/sources.list.d/vorla-deb-src.sources >/dev/null
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  fi
  rm -rf "$src" "$cache/src/download"
  mkdir -p "$cache/src/download"
  # apt-get source unpacks with dpkg-source -x, which applies debian/patches.
  (cd "$cache/src/download" && apt-get source -qq "qt6-base=$version")
  mv "$cache/src/download"/qt6-base-*/ "$src"
  rm -rf "$cache/src/download"
  touch "$src/.vorla-extracted"
fi

# An interrupted build is taken up where it stopped.
build=$cache/build-qt-win-$upstream-$key
rm -rf "$prefix"
mkdir -p "$build"
start=$(date +%s)
(
  cd "$build"
  "$src/configure" -prefix "$prefix" "${options[@]}" -- \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -G Ninja \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  limit=()
  if [ -n "${VORLA_QT_DEADLINE:-}" ]; then
    left=$(( VORLA_QT_DEADLINE - $(date +%s) ))
    [ "$left" -gt 0 ] || exit 124
    limit=(timeout --signal=INT "$left")
  fi
  "${limit[@]}" cmake --build . --parallel "$jobs"
  cmake --install .
)
# The translations are Debian's, built for any platform; keep them beside Qt.
mkdir -p "$prefix/translations"
cp /usr/share/qt6/translations/qtbase_ja.qm "$prefix/translations/"
add_directwrite_to_gui
touch "$prefix/.vorla-complete"
rm -rf "$build"
echo "Qt for Windows built in $(( $(date +%s) - start )) s" >&2
echo "$prefix"
