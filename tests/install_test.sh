#!/usr/bin/env bash
# Installs the designer into a temporary prefix, checks that the menu entry,
# icons, AppStream data, design file types, thumbnailer and manual pages are
# where a desktop looks for them and pass the desktop's own validators, that
# the order tool runs there with no display and no widgets, then builds the
# Debian package, checks that its dependencies were worked out from the
# binaries, and has lintian check it.
#   install_test.sh BUILD_DIR MIME_PROBE
set -euo pipefail
build="$1"
mime_probe="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A step that stops the script on its own (set -e) still says which it was.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

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
# The design files' icon, under the name the MIME package gives it.
for size in 16 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/mimetypes/application-x-jumpsuit-design.png"
    file -b "$png" | grep -q "PNG image data, $size x $size" || fail "the ${size}px file icon is $(file -b "$png")"
done
[ -f "$prefix/share/icons/hicolor/scalable/mimetypes/application-x-jumpsuit-design.svg" ] || fail "no scalable file icon"
[ "$(grep -c '<icon name="application-x-jumpsuit-design"/>' "$prefix/share/mime/packages/$id.xml")" = 8 ] ||
    fail "the MIME types do not all name the file icon"
# The user guide, as HTML with its pictures.
guide="$prefix/share/doc/jumpsuit-designer/guide"
[ -f "$guide/index.html" ] || fail "no user guide"
for picture in $(sed -n 's/.*<img src="\([^"]*\)".*/\1/p' "$guide/index.html"); do
    [ -f "$guide/$picture" ] || fail "the guide's picture $picture is not installed"
done

# The entry starts what was installed and shows the icon that was installed.
grep -qx "Exec=jumpsuit-designer %F" "$desktop" || fail "Exec does not name the program with its files"
grep -qx "Icon=jumpsuit-designer" "$desktop" || fail "Icon does not name the icon"
grep -qx "Categories=Graphics;" "$desktop" || fail "not in Graphics"
for key in Name GenericName Comment; do
    grep -q "^$key=." "$desktop" || fail "no $key"
done

desktop-file-validate "$desktop" || fail "desktop-file-validate"

# The design file types: one per extension, known to the desktop's database
# and to Qt's, upper-case names too; the menu entry and the thumbnailer take them.
extensions=(olr vtr kmr kfr dmr dfr brr lur)
types=""
for ext in "${extensions[@]}"; do types+="application/x-jumpsuit-design-$ext;"; done
[ -f "$prefix/share/mime/packages/$id.xml" ] || fail "no MIME package"
update-mime-database "$prefix/share/mime" >"$tmp/mime.log" 2>&1 || { cat "$tmp/mime.log" >&2; fail "update-mime-database"; }
names=()
for ext in "${extensions[@]}"; do names+=("a.$ext" "B.${ext^^}"); done
probed="$(XDG_DATA_HOME="$tmp/nothing" XDG_DATA_DIRS="$prefix/share:/usr/share" QT_QPA_PLATFORM=offscreen \
    "$mime_probe" "${names[@]}")"
for ext in "${extensions[@]}"; do
    for name in "a.$ext" "B.${ext^^}"; do
        grep -qx "$name application/x-jumpsuit-design-$ext" <<<"$probed" ||
            fail "Qt gives $name the type $(grep "^$name " <<<"$probed")"
    done
    grep -q "<comment>.* jumpsuit design</comment>" "$prefix/share/mime/application/x-jumpsuit-design-$ext.xml" ||
        fail "the type of .$ext has no comment"
done
grep -qx "MimeType=$types" "$desktop" || fail "the desktop entry does not list the design file types"
thumbnailer="$prefix/share/thumbnailers/jumpsuit-designer.thumbnailer"
[ -f "$thumbnailer" ] || fail "no thumbnailer entry"
grep -qx "\[Thumbnailer Entry\]" "$thumbnailer" || fail "the thumbnailer entry has no group"
grep -qx "TryExec=jumpsuit-order" "$thumbnailer" || fail "the thumbnailer does not try the order tool"
grep -qx "Exec=jumpsuit-order thumbnail %i %o %s" "$thumbnailer" || fail "the thumbnailer's Exec"
grep -qx "MimeType=$types" "$thumbnailer" || fail "the thumbnailer does not list the design file types"

# The order tool: no widgets, no display, no environment.
tool="$prefix/bin/jumpsuit-order"
[ -x "$tool" ] || fail "no order tool in bin/"
readelf -d "$tool" | grep NEEDED | grep -q libQt6Gui || fail "the order tool does not link Qt Gui"
! ldd "$tool" | grep -q libQt6Widgets || fail "the order tool links Qt Widgets"
printf '\x08\x00\x01\x00\x63\x00\x63\x00\x02\x00\x02\x00\x63\x00\x63\x00\x63\x00\x63\x00\x0d\x00' >"$tmp/body.OLR"
[ "$(env -i "$tool" --version)" = "jumpsuit-order 1.2.0" ] || fail "jumpsuit-order --version"
env -i "$tool" summary --json "$tmp/body.OLR" >"$tmp/summary.json" 2>"$tmp/stderr" || fail "summary --json"
grep -Eq '"line": ?"Royal Blue \(P\)"' "$tmp/summary.json" || fail "the summary lacks the body's line"
env -i "$tool" thumbnail "$tmp/body.OLR" "$tmp/thumb.png" 128 2>>"$tmp/stderr" || fail "thumbnail"
file -b "$tmp/thumb.png" | grep -q "PNG image data, 116 x 128" || fail "the thumbnail is $(file -b "$tmp/thumb.png")"
env -i "$tool" sheet "$tmp/body.OLR" -o "$tmp/sheet.pdf" 2>>"$tmp/stderr" || fail "sheet"
file -b "$tmp/sheet.pdf" | grep -q "PDF document" || fail "the sheet is $(file -b "$tmp/sheet.pdf")"
[ ! -s "$tmp/stderr" ] || { cat "$tmp/stderr" >&2; fail "the order tool said more than its results"; }

# The running designer's window names its menu entry: the class the entry
# expects, and the desktop file name (the Wayland app id) it was given.
grep -qx "StartupWMClass=Orlensuit Jumpsuit Designer" "$desktop" || fail "no StartupWMClass"
# grep reads all of it (no -q): stopping early would end strings with SIGPIPE,
# which pipefail counts as a failure.
strings -e l "$prefix/bin/jumpsuit-designer" | grep -x "$id" >/dev/null ||
    fail "the designer does not give its desktop file name"
# The check needs a display of its own, whatever platform the caller chose
# for its tests (QT_QPA_PLATFORM=offscreen is common where ctest runs), and
# its own settings folder and a designer of its own: the user's are left alone.
# Under AddressSanitizer, strict string checks report libxkbcommon-x11's own
# strndup of an unterminated X reply, which is not ours: the window check runs
# without them.
window_asan="${ASAN_OPTIONS:-}"
window_asan="${window_asan//:strict_string_checks=1/}"
classes="$(env -u WAYLAND_DISPLAY ASAN_OPTIONS="$window_asan" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$tmp/config" xvfb-run -a sh -c '"$0" --new-instance --zoom 100 & for i in $(seq 40); do sleep 0.25
    for w in $(xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) .*/\1/p"); do xprop -id "$w" WM_CLASS; done |
        grep -q "= " && break; done
    for w in $(xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) .*/\1/p"); do xprop -id "$w" WM_CLASS; done
    kill $!' "$prefix/bin/jumpsuit-designer" 2>/dev/null | grep "= " | sort -u || true)"
[ -n "$classes" ] || fail "the designer showed no window"
grep -q ', "Orlensuit Jumpsuit Designer"$' <<<"$classes" || fail "window classes: $classes"
! grep -qv ', "Orlensuit Jumpsuit Designer"$' <<<"$classes" || fail "window classes: $classes"

# The manual pages.
for page in jumpsuit-designer jumpsuit-order; do
    man_file="$prefix/share/man/man1/$page.1.gz"
    [ -f "$man_file" ] || fail "no manual page for $page"
    warnings="$(MANWIDTH=80 man --warnings -l "$man_file" 2>&1 >"$tmp/$page.txt")"
    [ -z "$warnings" ] || fail "man warns about $page: $warnings"
    grep -q "^NAME" "$tmp/$page.txt" && grep -q "$page -" "$tmp/$page.txt" || fail "the manual page of $page"
done
[ -f "$prefix/share/doc/jumpsuit-designer/copyright" ] || fail "no copyright file"
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
for f in "usr/share/applications/$id.desktop" usr/bin/jumpsuit-order "usr/share/mime/packages/$id.xml" \
    usr/share/thumbnailers/jumpsuit-designer.thumbnailer usr/share/man/man1/jumpsuit-order.1.gz \
    usr/share/man/man1/jumpsuit-designer.1.gz usr/share/doc/jumpsuit-designer/copyright \
    usr/share/doc/jumpsuit-designer/changelog.gz; do
    grep -q "\./$f$" <<<"$contents" || fail "the package has no /$f"
done
# Debian's own checker: no errors, no warnings.
lintian_said="$(lintian --fail-on error,warning "$deb" 2>&1)" || { echo "$lintian_said" >&2; fail "lintian"; }
echo "installed and packaged"
