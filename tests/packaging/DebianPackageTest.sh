#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, unpacks it into a
# throw-away root and checks that it makes a working desktop application:
# the run-time dependencies are declared, the desktop entry's Exec and Icon
# resolve to installed files, the metainfo names the entry, and both
# freedesktop validators accept what was installed.
#
#   DebianPackageTest.sh <build dir>
set -uo pipefail

build=${1:?usage: $0 <build dir>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not build the package" >&2
  exit 1
fi
debs=("$work"/out/vorla_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "FAIL: expected one vorla_*.deb, found: ${debs[*]}" >&2
  exit 1
fi
deb=${debs[0]}
root=$work/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x" >&2; exit 1; }

# Dependencies: the linked Qt libraries and what Qt loads at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libqt6svg6 qt6-translations-l10n \
               fonts-noto-cjk; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# Everything goes below /usr, where desktops look for entries and icons.
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"

# The desktop entry.
entries=("$root"/usr/share/applications/*.desktop)
if [ ${#entries[@]} -ne 1 ] || [ ! -f "${entries[0]}" ]; then
  fail "expected one desktop entry, found: ${entries[*]}"
  exit 1
fi
entry=${entries[0]}
app_id=$(basename "$entry" .desktop)
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate rejects $app_id.desktop"
[ -z "$report" ] || fail "desktop-file-validate: $report"

key() { sed -n "s/^$1=//p" "$entry" | head -n 1; }

exec_line=$(key Exec)
program=${exec_line%% *}
case $program in
  /*) installed=$root$program ;;
  *) installed=$root/usr/bin/$program ;;
esac
if [ -z "$program" ]; then
  fail "the desktop entry has no Exec"
elif [ ! -f "$installed" ] || [ ! -x "$installed" ]; then
  fail "Exec=$exec_line: no executable at ${installed#"$root"}"
elif ! file -b "$installed" | grep -q '^ELF .*executable'; then
  fail "Exec=$exec_line: ${installed#"$root"} is not a program: $(file -b "$installed")"
fi

icon=$(key Icon)
hicolor=$root/usr/share/icons/hicolor
if [ -z "$icon" ]; then
  fail "the desktop entry has no Icon"
else
  for size in 16 32 48; do
    png=$hicolor/${size}x${size}/apps/$icon.png
    if [ ! -f "$png" ]; then
      fail "Icon=$icon: no ${size}x${size} PNG in hicolor"
    elif ! file -b "$png" | grep -q "^PNG image data, $size x $size,"; then
      fail "Icon=$icon: ${size}x${size}/apps/$icon.png is $(file -b "$png")"
    fi
  done
  svg=$hicolor/scalable/apps/$icon.svg
  [ -f "$svg" ] && grep -q '<svg' "$svg" || fail "Icon=$icon: no scalable SVG in hicolor"
fi

# The AppStream metainfo, named after the desktop entry and launching it.
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
if [ ! -f "$metainfo" ]; then
  fail "no metainfo at /usr/share/metainfo/$app_id.metainfo.xml"
else
  grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "metainfo does not launch $app_id.desktop"
  version=$(dpkg-deb -f "$deb" Version)
  grep -q "<release version=\"$version\"" "$metainfo" \
    || fail "metainfo has no release for the package version $version"
  # validate-tree also checks that the launchable entry is installed beside it.
  for check in validate validate-tree; do
    if [ $check = validate ]; then target=$metainfo; else target=$root; fi
    report=$(appstreamcli $check --no-net "$target" 2>&1) \
      || fail "appstreamcli $check rejects the metainfo: $report"
    ! grep -Eq '^ *[EWI]: ' <<<"$report" || fail "appstreamcli $check: $report"
  done
fi

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $(basename "$deb") installs a valid desktop application"
