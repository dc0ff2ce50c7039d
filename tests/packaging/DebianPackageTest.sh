#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, unpacks it into a
# throw-away root and checks that it makes a working desktop application:
# the run-time dependencies are declared, the desktop entry's Exec and Icon
# resolve to installed files, the entry offers Vorla for plain text files and
# passes them on, the metainfo names the entry, the manual page renders
# cleanly, both freedesktop validators accept what was installed, and lintian
# finds no error or warning.
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
               fonts-noto-cjk fonts-dejavu-core; do
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

# Offered for text files in "Open With", each file handed over as a path.
[[ $exec_line == *' %F' ]] || fail "Exec=$exec_line does not pass files (%F)"
mime_types=$(key MimeType)
grep -Eq '(^|;)text/plain(;|$)' <<<"$mime_types" || fail "MimeType lacks text/plain: $mime_types"

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

# The manual page: compressed, about this program, and free of roff errors.
man_page=$root/usr/share/man/man1/vorla.1.gz
if [ ! -f "$man_page" ]; then
  fail "no manual page at /usr/share/man/man1/vorla.1.gz"
elif ! gzip -t "$man_page" 2>/dev/null; then
  fail "vorla.1.gz is not gzip data"
else
  zcat "$man_page" | grep -q '^\.TH VORLA 1 ' || fail "vorla.1.gz has no .TH VORLA 1 header"
  for option in --stats --sigma --json --help --version; do
    zcat "$man_page" | grep -q -- "${option//-/\\\\-}" || fail "the manual page does not mention $option"
  done
  if command -v man >/dev/null; then
    report=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man_page" 2>&1 >/dev/null)
    [ -z "$report" ] || fail "man --warnings: $report"
  fi
fi

# lintian: no error and no warning (informational notes are explained in
# packaging/LINTIAN.md).
if command -v lintian >/dev/null; then
  report=$(lintian "$deb" 2>&1 | grep -E '^[EW]: ')
  [ -z "$report" ] || fail "lintian: $report"
else
  echo "lintian is not installed; its checks were not run" >&2
fi

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package $(basename "$deb") installs a valid desktop application"
