#!/usr/bin/env bash
# Builds the Debian package from a build directory into a scratch directory
# and checks what it holds and what it declares.
# Usage: check-package.sh CPACK BUILD_DIR [ARCHITECTURE]
set -uo pipefail
cpack=$1
build=$2
architecture=${3:-$(dpkg --print-architecture)}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
check() {  # check NAME COMMAND...
    if "${@:2}"; then
        echo "ok   $1"
    else
        echo "FAIL $1"
        failures=$((failures + 1))
    fi
}

(cd "$build" && "$cpack" -G DEB -B "$out") >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
debs=("$out"/tallaro_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL no tallaro_*.deb"; cat "$out/cpack.log"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
has_file() { grep -qxF "./usr/$1" <<<"$files"; }
check "program" has_file bin/tallaro
check "desktop entry" has_file share/applications/io.github.tallaro.tallaro.desktop
check "scalable icon" has_file share/icons/hicolor/scalable/apps/tallaro.svg

dpkg-deb -x "$deb" "$out/root"
# Width and height from the PNG header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
for size in 16 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/tallaro.png
    check "icon $png" has_file "$png"
    [ -f "$out/root/usr/$png" ] && check "icon is ${size}x${size}" test "$(png_size "$out/root/usr/$png")" == "${size}x${size}"
done
check "desktop entry is valid" desktop-file-validate "$out/root/usr/share/applications/io.github.tallaro.tallaro.desktop"
check "desktop entry starts the program" grep -qx "Exec=tallaro" "$out/root/usr/share/applications/io.github.tallaro.tallaro.desktop"

# Declared dependencies, by package name.
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*//; s/ //g')
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
depends_on() { grep -qx "$1" <<<"$depends"; }
# The fonts that prepare_fonts() maps the forms' faces to.
check "depends on fonts-wqy-microhei" depends_on fonts-wqy-microhei
check "depends on libqt6widgets6" depends_on libqt6widgets6
check "package name" test "$(dpkg-deb -f "$deb" Package)" == tallaro
check "architecture $architecture" test "$(dpkg-deb -f "$deb" Architecture)" == "$architecture"
check "file name" grep -qx "tallaro_.*_$architecture\.deb" <<<"$(basename "$deb")"
# The program is built for that architecture (dpkg-shlibdeps read its
# dependencies off it).
machine() { case "$1" in amd64) echo X86-64 ;; arm64) echo AArch64 ;; *) echo "$1" ;; esac; }
check "program built for $architecture" grep -q "Machine:.*$(machine "$architecture")" \
    <<<"$(readelf -h "$out/root/usr/bin/tallaro")"

echo "$failures failed"
[ "$failures" -eq 0 ]
