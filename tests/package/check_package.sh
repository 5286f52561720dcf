#!/usr/bin/env bash
# Builds the Debian package from an already built tree with cpack and checks
# it as a user's machine would see it: the control fields, the file list, the
# desktop files, and the programs started through /usr/bin of an unpacked copy.
#   check_package.sh BUILD_DIR VERSION [CPACK]
set -uo pipefail
build=$1 version=$2 cpack=${3:-cpack}
arch=$(dpkg --print-architecture)
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-package-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$work/out/quorvex_${version}_${arch}.deb
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $deb"; exit 1; }

dpkg-deb -c "$deb" | awk '{ sub(/^\.\//, "", $6); print $1, $6, $8 }' >"$work/list"
mode() { awk -v p="usr/$1" '$2 == p { print $1 }' "$work/list"; }
has_program() { [ -n "$(mode "lib/quorvex/$1")" ]; }

# Control fields: dependencies come from the binaries, the office only suggested.
info=$(dpkg-deb -f "$deb")
field() { printf '%s\n' "$info" | sed -n "s/^$1: //p"; }
while IFS='|' read -r name pattern; do
  [[ "$(field "$name")" =~ $pattern ]] || fail "control field $name is '$(field "$name")', want /$pattern/"
done <<'EOF'
Package|^quorvex$
Section|^science$
Priority|^optional$
Maintainer|^[^<]+ <[^@ ]+@[^> ]+>$
Suggests|libreoffice-writer
Depends|(^|, )libc6 \(>=
Depends|libstdc\+\+6
Description|^[a-z].{10,70}$
EOF
[[ "$(field Version)" == "$version" ]] || fail "Version is '$(field Version)', want $version"
if has_program quorvex; then
  [[ "$(field Depends)" =~ (^|, )qt6-qpa-plugins($|,) ]] || fail "Depends lacks Qt's platform plugins: $(field Depends)"
fi
[[ "$(field Depends)" == *libreoffice* ]] && fail "LibreOffice must not be a dependency: $(field Depends)"

expect=(lib/quorvex/quorvex-cli lib/quorvex/ATOMS.LST share/mime/packages/quorvex.xml
        share/icons/hicolor/scalable/apps/quorvex.svg share/man/man1/quorvex-cli.1.gz
        share/doc/quorvex/copyright share/doc/quorvex/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
  expect+=("share/icons/hicolor/${size}x${size}/apps/quorvex.png")
done
# The help page and the plugins that the build puts beside the programs.
for f in "$build"/bin/help/* "$build"/bin/*.so; do
  [ -f "$f" ] && expect+=("lib/quorvex/${f#"$build"/bin/}")
done
if has_program quorvex; then
  expect+=(share/applications/quorvex.desktop share/man/man1/quorvex.1.gz)
else
  echo "note: no desktop program in this build; its entry, manual page and start are not checked"
fi
for f in "${expect[@]}"; do
  [ -n "$(mode "$f")" ] || fail "missing /usr/$f"
done
for p in quorvex-cli quorvex; do
  has_program $p || continue
  [[ "$(mode "lib/quorvex/$p")" == -rwxr-xr-x ]] || fail "/usr/lib/quorvex/$p mode $(mode "lib/quorvex/$p")"
  grep -qx "lrwxrwxrwx usr/bin/$p ../lib/quorvex/$p" "$work/list" || fail "/usr/bin/$p is not a link to ../lib/quorvex/$p"
done
root=$work/root
dpkg-deb -x "$deb" "$root"

# Plugins load with every library they need, and search no folder of the
# build tree.
plugins=$(awk '$1 ~ /^-/ && $2 ~ /^usr\/lib\/quorvex\/[^\/]+\.so$/ { print $2 }' "$work/list")
[ -n "$plugins" ] || echo "note: no plugin in this build"
for p in $plugins; do
  search=$(readelf -d "$root/$p" | sed -n 's/.*R\(UN\)\?PATH.*\[\(.*\)\]/\2/p')
  [[ -z "$search" || "$search" == /usr/lib/libreoffice/program ]] || fail "/$p searches $search"
  ldd "$root/$p" | grep -q "not found" && fail "/$p: $(ldd "$root/$p" | grep "not found")"
done

if [ -f "$root/usr/share/applications/quorvex.desktop" ]; then
  desktop-file-validate "$root/usr/share/applications/quorvex.desktop" || fail "desktop entry rejected"
  for line in "Exec=quorvex %f" "Icon=quorvex" "MimeType=application/x-quorvex-recipe;"; do
    grep -qxF "$line" "$root/usr/share/applications/quorvex.desktop" || fail "desktop entry lacks $line"
  done
fi

# The type must reach the MIME database: build one from the packaged XML alone.
mime=$root/usr/share/mime
xmllint --noout "$mime/packages/quorvex.xml" || fail "MIME XML malformed"
xmllint --noout "$root/usr/share/icons/hicolor/scalable/apps/quorvex.svg" || fail "icon SVG malformed"
update-mime-database "$mime" >/dev/null 2>&1 || fail "update-mime-database refused the XML"
for glob in '*.qvs' '*.QVS'; do
  grep -qF ":application/x-quorvex-recipe:$glob" "$mime/globs2" 2>/dev/null || fail "no glob $glob in the MIME database"
done

for size in 16 22 24 32 48 64 128 256; do
  file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/quorvex.png" |
    grep -q "^PNG image data, $size x $size," || fail "${size}x${size} icon is not a $size px PNG"
done

man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/quorvex-cli.1.gz" >/dev/null 2>"$work/man.err"
[ -s "$work/man.err" ] && fail "manual page warnings: $(cat "$work/man.err")"
# Every verb and option the program's own help names is in the manual page.
manual=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/quorvex-cli.1.gz" 2>/dev/null)
usage=$("$root/usr/lib/quorvex/quorvex-cli" --help)
verbs=$(sed -n 's/^  \([a-z]\+\) .*/\1/p' <<<"$usage")
[[ "$verbs" == *solve* ]] || fail "no verbs in quorvex-cli --help: $usage"
for verb in $verbs; do
  grep -q "^ *$verb " <<<"$manual" || fail "manual page does not describe $verb"
done
for option in $(grep -o -- '--[a-z-]\+' <<<"$usage" | sort -u); do
  grep -q -- "$option" <<<"$manual" || fail "manual page lacks $option"
done

# Started through the /usr/bin link, from a folder without an element file,
# the program must find the ATOMS.LST beside its real path.
cd "$work"
out=$("$root/usr/bin/quorvex-cli" mass H2O 2>&1)
[ "$out" == $'H2O\tH2O\t18.015' ] || fail "quorvex-cli through /usr/bin: '$out'"
if "$root/usr/bin/quorvex-cli" --version >"$work/version" 2>&1; then
  grep -qF "$version" "$work/version" || fail "quorvex-cli --version: $(cat "$work/version")"
fi
if has_program quorvex; then
  QT_QPA_PLATFORM=offscreen timeout 20 "$root/usr/bin/quorvex" --version >"$work/version" 2>&1 ||
    fail "quorvex --version: $(cat "$work/version")"
  grep -qF "$version" "$work/version" || fail "quorvex --version: $(cat "$work/version")"
fi
# ...and say so when it is missing rather than fall back on something else.
rm "$root/usr/lib/quorvex/ATOMS.LST"
"$root/usr/bin/quorvex-cli" mass H2O >/dev/null 2>"$work/err"
status=$?
[ $status -eq 2 ] && grep -q "ATOMS.LST" "$work/err" || fail "without ATOMS.LST: status $status, $(cat "$work/err")"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$work/lintian" 2>&1 ||
    fail "lintian: $(grep -v 'root privileges' "$work/lintian")"
fi

[ $failures -eq 0 ] && echo "package $(basename "$deb") checked"
exit $((failures > 0))
