#!/usr/bin/env bash
# Builds the Debian packages from an already built tree with cpack and checks
# them as a user's machine would see them: quorvex (the control fields, the
# file list, the desktop files, the programs started through /usr/bin of an
# unpacked copy, and no office among its dependencies) and, where the office
# plugin is built, quorvex-writer (the plugin, tied to quorvex of this version).
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

# Control fields: dependencies come from the binaries, the plugin only suggested.
info=$(dpkg-deb -f "$deb")
field() { printf '%s\n' "$info" | sed -n "s/^$1: //p"; }
while IFS='|' read -r name pattern; do
  [[ "$(field "$name")" =~ $pattern ]] || fail "control field $name is '$(field "$name")', want /$pattern/"
done <<'EOF'
Package|^quorvex$
Section|^science$
Priority|^optional$
Maintainer|^[^<]+ <[^@ ]+@[^> ]+>$
Suggests|^quorvex-writer$
Depends|(^|, )libc6 \(>=
Depends|libstdc\+\+6
Description|^[a-z].{10,70}$
EOF
[[ "$(field Version)" == "$version" ]] || fail "Version is '$(field Version)', want $version"
if has_program quorvex; then
  [[ "$(field Depends)" =~ (^|, )qt6-qpa-plugins($|,) ]] || fail "Depends lacks Qt's platform plugins: $(field Depends)"
fi
# quorvex alone installs without any office package.
office='(^|, )(libreoffice|libuno|uno-libs|ure|python3-uno)'
[[ "$(field Depends)" =~ $office ]] && fail "an office package is a dependency of quorvex: $(field Depends)"

expect=(lib/quorvex/quorvex-cli lib/quorvex/ATOMS.LST share/mime/packages/quorvex.xml
        share/icons/hicolor/scalable/apps/quorvex.svg share/man/man1/quorvex-cli.1.gz
        share/doc/quorvex/copyright share/doc/quorvex/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
  expect+=("share/icons/hicolor/${size}x${size}/apps/quorvex.png")
done
# The help page that the build puts beside the programs.
for f in "$build"/bin/help/*; do
  [ -f "$f" ] && expect+=("lib/quorvex/${f#"$build"/bin/}")
done
grep -q '\.so$' "$work/list" && fail "quorvex carries a plugin: $(grep '\.so$' "$work/list")"
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

# quorvex-writer: the plugin beside the programs, loading with every library
# it needs and searching no folder of the build tree; quorvex of exactly this
# version and the office as its dependencies.
wdeb=$work/out/quorvex-writer_${version}_${arch}.deb
if compgen -G "$build/bin/*.so" >/dev/null; then
  [ -f "$wdeb" ] || fail "no $wdeb"
else
  echo "note: no plugin in this build, so no quorvex-writer"
fi
if [ -f "$wdeb" ]; then
  winfo=$(dpkg-deb -f "$wdeb")
  wfield() { printf '%s\n' "$winfo" | sed -n "s/^$1: //p"; }
  [[ "$(wfield Package)" == quorvex-writer ]] || fail "writer package named '$(wfield Package)'"
  [[ "$(wfield Version)" == "$version" ]] || fail "writer Version is '$(wfield Version)'"
  [[ "$(wfield Depends)" =~ (^|, )"quorvex (= $version)"(,|$) ]] || fail "writer Depends lacks quorvex (= $version): $(wfield Depends)"
  [[ "$(wfield Depends)" =~ (^|, )libreoffice-writer(,|$) ]] || fail "writer Depends lacks libreoffice-writer: $(wfield Depends)"
  dpkg-deb -c "$wdeb" | awk '{ sub(/^\.\//, "", $6); print $6 }' >"$work/wlist"
  for f in share/doc/quorvex-writer/copyright share/doc/quorvex-writer/changelog.gz; do
    grep -qx "usr/$f" "$work/wlist" || fail "quorvex-writer lacks /usr/$f"
  done
  dpkg-deb -x "$wdeb" "$work/wroot"
  plugins=$(grep '^usr/lib/quorvex/[^/]*\.so$' "$work/wlist")
  for f in "$build"/bin/*.so; do
    grep -qx "usr/lib/quorvex/${f##*/}" <<<"$plugins" || fail "quorvex-writer lacks /usr/lib/quorvex/${f##*/}"
  done
  for p in $plugins; do
    search=$(readelf -d "$work/wroot/$p" | sed -n 's/.*R\(UN\)\?PATH.*\[\(.*\)\]/\2/p')
    [[ -z "$search" || "$search" == /usr/lib/libreoffice/program ]] || fail "/$p searches $search"
    ldd "$work/wroot/$p" | grep -q "not found" && fail "/$p: $(ldd "$work/wroot/$p" | grep "not found")"
  done
fi

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
  for d in "$deb" "$wdeb"; do
    [ -f "$d" ] || continue
    lintian --fail-on error,warning "$d" >"$work/lintian" 2>&1 ||
      fail "lintian $(basename "$d"): $(grep -v 'root privileges' "$work/lintian")"
  done
fi

[ $failures -eq 0 ] && echo "packages checked: $(cd "$work/out" && ls ./*.deb | tr '\n' ' ')"
exit $((failures > 0))
