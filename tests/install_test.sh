#!/usr/bin/env bash
# Installs the designer into a temporary prefix, checks that the menu entry,
# icons and AppStream data are where a desktop looks for them and pass the
# desktop's own validators, then builds the Debian package and checks that its
# dependencies were worked out from the binary.
set -euo pipefail
build="$1"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$tmp/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
id=example.orlensuits.JumpsuitDesigner
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"

[ -x "$prefix/bin/jumpsuit-designer" ] || fail "no program in bin/"
file -b "$prefix/bin/jumpsuit-designer" | grep -q ELF || fail "bin/jumpsuit-designer is not a program"
[ -f "$desktop" ] || fail "no desktop file"
[ -f "$metainfo" ] || fail "no metainfo file"
for size in 16 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/jumpsuit-designer.png"
    [ -f "$png" ] || fail "no ${size}px icon"
    file -b "$png" | grep -q "PNG image data, $size x $size" || fail "the ${size}px icon is $(file -b "$png")"
done
[ -f "$prefix/share/icons/hicolor/scalable/apps/jumpsuit-designer.svg" ] || fail "no scalable icon"

# The entry starts what was installed and shows the icon that was installed.
grep -qx "Exec=jumpsuit-designer" "$desktop" || fail "Exec does not name the program"
grep -qx "Icon=jumpsuit-designer" "$desktop" || fail "Icon does not name the icon"
grep -qx "Categories=Graphics;" "$desktop" || fail "not in Graphics"
for key in Name GenericName Comment; do
    grep -q "^$key=." "$desktop" || fail "no $key"
done

desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<screenshot" "$metainfo" || fail "no screenshot in the metainfo"

# The Debian package.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack -G DEB"; }
deb="$(ls "$tmp"/package/*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
echo "$depends" | grep -q libqt6widgets6 || fail "the package does not depend on Qt Widgets"
contents="$(dpkg-deb -c "$deb")"
grep -q "\./usr/bin/jumpsuit-designer$" <<<"$contents" || fail "the package has no /usr/bin/jumpsuit-designer"
grep -q "\./usr/share/applications/$id.desktop$" <<<"$contents" || fail "the package has no desktop file"
echo "installed and packaged"
