#!/usr/bin/env bash
# Makes the Debian package of a build as scripts/package does, checks what it
# holds and its metadata with the desktop's and Debian's own validators,
# unpacks it into a scratch root, and runs the unpacked program as a user
# would on a private Xvfb: its window opens, it finds no device where there is
# no MIDI, and it quits with status 0.
#
# Usage: package_test.sh <build folder> <folder for screenshots>
set -uo pipefail

build="$1"
shots="$2"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../harness/gui_test_support.sh"

appId=com.kelmora.VT5150Updater
scratch="$(mktemp -d)"
root="$scratch/root"
mkdir -p "$shots" "$root" "$scratch/home"

trap 'end_test rm -rf "$scratch"' EXIT
refuse_stray_instance

fail ()
{
    echo "FAILED: $*" >&2
    if [ -n "${VT5150_XVFB_PID:-}" ] && wizard_grab "$shots/failure.png" 2>/dev/null; then
        echo "(screen: $shots/failure.png)" >&2
    fi
    exit 1
}

# field <control field>: a field of the package's control file.
field () { dpkg-deb --field "$deb" "$1"; }

# desktop_key <key>: a key of the unpacked desktop entry.
desktop_key () { sed -n "s/^$1=//p" "$desktopFile"; }

# metainfo_tag <tag>: the text of a tag of the unpacked metainfo.
metainfo_tag () { sed -n "s:.*<$1[^>]*>\(.*\)</$1>.*:\1:p" "$metainfoFile"; }

# --- The package ---------------------------------------------------------------
echo "--- making the package"
start=$SECONDS
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; fail "cpack"; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made ${#debs[@]} packages: ${debs[*]}"
deb="${debs[0]}"
echo "made $(basename "$deb") in $((SECONDS - start)) s"

[ "$(basename "$deb")" = "$(field Package)_$(field Version)_$(dpkg --print-architecture).deb" ] \
    || fail "the file name $(basename "$deb") does not carry the package's name, version and architecture"
# libc6 and libasound2 are what dpkg-shlibdeps finds in the program; nobody names them by hand.
[[ "$(field Depends)" == *libc6* && "$(field Depends)" == *libasound2* ]] \
    || fail "Depends does not come from dpkg-shlibdeps: $(field Depends)"

lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 \
    || { cat "$scratch/lintian.log" >&2; fail "lintian reports errors or warnings"; }

# --- Its metadata, unpacked -------------------------------------------------------
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
desktopFile="$root/usr/share/applications/$appId.desktop"
metainfoFile="$root/usr/share/metainfo/$appId.metainfo.xml"

report=$(desktop-file-validate "$desktopFile" 2>&1)
[ $? -eq 0 ] && [ -z "$report" ] || fail "desktop-file-validate: $report"
report=$(appstreamcli validate --no-net "$metainfoFile" 2>&1) && ! grep -qE "^[EW]:" <<<"$report" ||
    fail "appstreamcli: $report"

# The desktop entry starts the one program installed: never the demo, the tools or the benchmark.
program="$(desktop_key Exec)"
[ "$(ls "$root/usr/bin")" = "$program" ] || fail "Exec=$program, and the package installs: $(ls "$root/usr/bin")"
# Nothing in the package names the folder that it was built in.
! grep -rlF "$VT5150_ROOT" "$root" >&2 || fail "these files name the build machine's folder $VT5150_ROOT"
[ "$(metainfo_tag binary)" = "$program" ] || fail "the metainfo provides $(metainfo_tag binary), not $program"
[ "$(metainfo_tag launchable)" = "$(basename "$desktopFile")" ] \
    || fail "the metainfo launches $(metainfo_tag launchable)"
[ "$(metainfo_tag id)" = "$appId" ] || fail "the metainfo's id is $(metainfo_tag id)"
[ "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfoFile")" = "$(field Version)" ] \
    || fail "the metainfo's release is not the package's version $(field Version)"

icon="$(desktop_key Icon)"
for size in $VT5150_FACT_ICON_SIZES; do
    file="$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png"
    [ -f "$file" ] || fail "Icon=$icon has no ${size} px picture in the package"
    [ "$(identify -format '%wx%h %[channels]' "$file")" = "${size}x$size srgba" ] \
        || fail "the $size px icon is $(identify -format '%wx%h %[channels]' "$file")"
done

# --- The unpacked program, run ---------------------------------------------------
echo "--- running the unpacked program"
vt5150_start_xvfb || fail "Xvfb"
# Its home is a scratch folder, so that nothing that it or its libraries keep there
# lands in the real one.
begin_program unpacked env HOME="$scratch/home" "$root/usr/bin/$program" || fail "the unpacked program's window"
class=$(xprop -id "$WIZARD_WINDOW" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p')
[ "$class" = "$(desktop_key StartupWMClass)" ] \
    || fail "the window's class \"$class\" is not the desktop entry's StartupWMClass"

walk_to_page4 || fail "the walk to page 4"
device_not_found 10 wizard_shot "$shots/no-device.png" || fail "with no MIDI, the device-not-found box, closed by OK"

wizard_click_close
check "the close button on page 4 ends the program with status 0" exited_with_0 || fail "closing"
echo "All checks passed in $SECONDS s."
