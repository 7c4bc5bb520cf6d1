#!/usr/bin/env bash
# Builds the Debian package as a packager does, checks it with lintian and dpkg-deb, unpacks it
# into a throwaway root and converts the example files with the unpacked program in a real
# window, so the converter and its library that the package carries inside the program run.
#
#   package_acceptance.sh BUILD-DIR VERSION SOURCE-DIR DRAG-SOURCE WINDOW-GRAB ARTIFACT-DIR
#
# Ends with 77 (skipped) only when the window run finds no X server.
set -uo pipefail

build=$1 version=$2 source_dir=$3 drag_source=$4 grab=$5 artifacts=$6
work=$(mktemp -d "${TMPDIR:-/tmp}/quillane-package-XXXXXX")
trap 'rm -rf "$work"' EXIT

log() { echo "-- [${SECONDS}s] $*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$artifacts"
mkdir -p "$artifacts"

# --- the package ----------------------------------------------------------------------------
log "cpack -G DEB"
(cd "$build" && cpack --config CPackConfig.cmake -G DEB -B "$work/out") >"$artifacts/cpack.log" 2>&1 ||
    fail "cpack failed (see $artifacts/cpack.log)"
arch=$(dpkg --print-architecture)
deb="$work/out/quillane_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(cd "$work/out" && ls ./*.deb 2>/dev/null)"

depends=$(dpkg-deb -f "$deb" Depends)
log "Depends: $depends"
# From the program's binaries, from the converter and library it carries, and the font.
for needed in "libqt6widgets6" "zlib1g" "libc6" "fonts-liberation2 | fonts-croscore"; do
    grep -qF "$needed" <<<"$depends" || fail "the package does not depend on $needed"
done

command -v lintian >/dev/null || fail "lintian is missing (scripts/install-deps.sh installs it)"
lintian --no-tag-display-limit "$deb" >"$artifacts/lintian.log" 2>&1
if grep -q '^E:' "$artifacts/lintian.log"; then
    cat "$artifacts/lintian.log" >&2
    fail "lintian reports errors"
fi
log "lintian: $(grep -c '^[EW]:' "$artifacts/lintian.log") errors and warnings"

# --- unpacked into a throwaway root ---------------------------------------------------------
root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb cannot unpack the package"
for file in usr/share/doc/quillane/copyright usr/share/doc/quillane/changelog.gz \
    usr/share/applications/example.kelvardy.Quillane.desktop \
    usr/share/metainfo/example.kelvardy.Quillane.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/example.kelvardy.Quillane.png \
    usr/share/man/man1/quillane.1.gz; do
    [ -s "$root/$file" ] || fail "the package lacks /$file"
done
grep -q '^License: GPL-3.0-or-later$' "$root/usr/share/doc/quillane/copyright" ||
    fail "the copyright file does not give the licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$root/usr/share/metainfo/example.kelvardy.Quillane.metainfo.xml" ||
    fail "the AppStream file does not give the licence"
[ -L "$root/usr/bin/quillane" ] || fail "the package has no command /usr/bin/quillane"
program=$(readlink -f "$root/usr/bin/quillane")
case "$program" in
"$root"/*) ;;
*) fail "/usr/bin/quillane leads out of the package, to $program" ;;
esac
[ -x "$program" ] || fail "the command's target $program is not a program"
log "unpacked; the program is $program"

# --- the unpacked program converts the examples ---------------------------------------------
QUILLANE_WINDOW_SAMPLES_ONLY=1 bash "$source_dir/tests/acceptance/window_acceptance.sh" \
    "$program" "$drag_source" "$grab" "$source_dir" "$artifacts/window"
