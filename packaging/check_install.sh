#!/usr/bin/env bash
# Installs the built tree into a scratch folder and checks what a desktop gets: the programs,
# the desktop entry and its launcher, the icons, AppStream metadata, man pages and the user
# guide; then builds the Debian package and checks its files and dependencies.
#   check_install.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
root="$scratch/root"
fail() { echo "check_install: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
for f in bin/carelog bin/ldstool bin/carelog-sample bin/lds-stress bin/carelog-eval bin/defc \
         bin/carelog-start share/applications/carelog.desktop \
         share/icons/hicolor/scalable/apps/carelog.svg share/icons/hicolor/48x48/apps/carelog.png \
         share/metainfo/org.carelog.CareLog.metainfo.xml share/doc/carelog/guide/index.html; do
  [ -e "$root/usr/$f" ] || fail "missing /usr/$f"
done
for page in carelog ldstool carelog-sample lds-stress carelog-eval defc; do
  [ -e "$root/usr/share/man/man1/$page.1" ] || fail "missing man page $page.1"
done
desktop-file-validate "$root/usr/share/applications/carelog.desktop"
grep -q '^Exec=carelog-start$' "$root/usr/share/applications/carelog.desktop" \
  || fail "the desktop entry does not start the installed launcher"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.carelog.CareLog.metainfo.xml" >/dev/null
file "$root/usr/share/icons/hicolor/48x48/apps/carelog.png" | grep -q '48 x 48' \
  || fail "the PNG icon is not 48x48"

# The launcher gives the program a data folder of its own and starts it there.
data="$scratch/data"
printf 'expect-title "The Care Log"\nscreenshot started.png\n' > "$scratch/script.txt"
CARELOG_DATA="$data" "$root/usr/bin/carelog-start" --headless --script "$scratch/script.txt"
[ -e "$data/started.png" ] || fail "the program did not run in its data folder"

(cd "$build" && cpack -G DEB -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/carelog_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libcairo2 libpango-1.0-0 libsdl2 libcups2 fonts-liberation; do
  grep -q "$lib" <<<"$depends" || fail "the package does not depend on $lib: $depends"
done
contents=$(dpkg-deb -c "$deb")
grep -q './usr/share/applications/carelog.desktop' <<<"$contents" \
  || fail "the package lacks the desktop entry"
echo "check_install: ok ($deb)"
