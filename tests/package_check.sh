#!/usr/bin/env bash
# Builds the Debian package from an optimised build, unpacks it into a fresh prefix, and runs
# the installed commands in an empty folder with an empty home: they must find their shipped
# data and plug-in from where they were installed, and prepare the user's simulator root.
#   tests/package_check.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }
deb="$(ls "$build"/starvane_*.deb)"
depends="$(dpkg-deb --field "$deb" Depends)"
for library in libirrlicht1.8 libopengl0 libstdc++6; do
  [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v -E '^\./(usr/?|usr/(bin|lib|share)(/.*)?)$' &&
  fail "files outside /usr/bin, /usr/lib, /usr/share"

prefix="$work/installed"
dpkg-deb -x "$deb" "$prefix"
for file in bin/starvane bin/starvane-cli lib/starvane/texgen.so share/starvane/Starvane/Starvane.cfg \
            share/applications/starvane.desktop share/icons/hicolor/256x256/apps/starvane.png \
            share/man/man1/starvane.1.gz share/man/man1/starvane-cli.1.gz; do
  [ -e "$prefix/usr/$file" ] || fail "missing /usr/$file"
done
desktop-file-validate "$prefix/usr/share/applications/starvane.desktop"
for page in "$prefix"/usr/share/man/man1/*.1.gz; do
  [ -z "$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)" ] || fail "$page has roff warnings"
done

mkdir "$work/empty" "$work/home"
cd "$work/empty"
export HOME="$work/home"
unset STARVANE_ROOT
# Into a file first: grep -q stops reading at its first match, and the command, still writing,
# would then die of a broken pipe.
"$prefix/usr/bin/starvane-cli" system --seed 1 >"$work/system.txt" || fail "system --seed 1 failed"
grep -q "Sudarsky\|Rock\|Ice" "$work/system.txt" || fail "system --seed 1 printed no bodies"
"$prefix/usr/bin/starvane-cli" export Sirius --folder >"$work/export.log" 2>&1 || { cat "$work/export.log"; fail "export failed"; }
grep -q "starvane-root" "$work/export.log" || fail "export did not say which simulator root it used"
saved="$HOME/starvane-root/Starvane/SavedSystems"
[ -n "$(find "$saved" -name '*.cfg' -print -quit)" ] || fail "no exported files below $saved"
[ -n "$(find "$saved" -name '*.tex' -print -quit)" ] || fail "no textures: the installed plug-in was not found"
[ -n "$(find "$saved" -name '*.scn' -print -quit)" ] || fail "no scenario beside the exported files"
[ -z "$(ls -A "$work/empty")" ] || fail "the commands wrote into the working folder"

# The atlas prepares a root of its own the same way, keeping what the user has there.
export HOME="$work/home2"
mkdir -p "$HOME/starvane-root/Starvane"
{ cat "$prefix/usr/share/starvane/Starvane/Starvane.cfg"; echo "; kept"; } >"$HOME/starvane-root/Starvane/Starvane.cfg"
xvfb-run -a -s "-screen 0 1280x800x24" "$prefix/usr/bin/starvane" --quit-after 3 >"$work/atlas.log" 2>&1 ||
  { cat "$work/atlas.log"; fail "the installed atlas did not run"; }
grep -q "simulator root is $HOME/starvane-root" "$work/atlas.log" || fail "the atlas did not say where its root is"
grep -q "^; kept" "$HOME/starvane-root/Starvane/Starvane.cfg" || fail "the atlas overwrote the user's Starvane.cfg"
[ -f "$HOME/starvane-root/Starvane/Data/StellarTable.csv" ] || fail "the atlas did not fill its root"
echo "package check: $(basename "$deb") installs and runs"
