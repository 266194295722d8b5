#!/usr/bin/env bash
# Builds the Debian package the README's way (release preset, then CPack)
# into a scratch directory and holds it to Debian's own checks: lintian, the
# AppStream validator on the installed metainfo, desktop-file-validate on the
# desktop entry, and man on the manual page.
# Exits 77 (skipped) only when one of those tools is missing and nothing
# else failed.
# Usage: lint-package.sh SOURCE_DIR [PRESET]   (release, or release-arm64)
set -uo pipefail
src=$(realpath "$1")
preset=${2:-release}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
missing=()
have() { command -v "$1" >/dev/null || { missing+=("$1 (package $2)"); return 1; }; }
check() {  # check NAME COMMAND...: passes when COMMAND succeeds and prints nothing
    local said
    said=$("${@:2}" 2>&1)
    local status=$?
    if [ $status -eq 0 ] && [ -z "$said" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1 (status $status)"
        [ -n "$said" ] && sed 's/^/     /' <<<"$said"
        failures=$((failures + 1))
    fi
}

echo "building the $preset preset in $out/build"
if ! { cmake -S "$src" --preset "$preset" -B "$out/build" &&
       cmake --build "$out/build" &&
       (cd "$out/build" && cpack -G DEB -B "$out/deb"); } >"$out/build.log" 2>&1; then
    tail -n 40 "$out/build.log"
    echo "FAIL building the package"
    exit 1
fi
debs=("$out"/deb/tallaro_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "FAIL no tallaro_*.deb"; exit 1; }
echo "package: $(basename "$deb")"
dpkg-deb -x "$deb" "$out/root"
usr=$out/root/usr
app_id=io.github.tallaro.tallaro

# Every tag of level warning or above fails; the package needs no overrides.
lint() {
    local said
    said=$(lintian --fail-on error,warning "$deb" 2>&1 | grep -v '^running with root privileges')
    [ -z "$said" ] || { echo "$said"; return 1; }
}
have lintian lintian && check "lintian: no error or warning" lint

if have appstreamcli appstream; then
    # Quiet only when the validator has no remark at all, pedantic ones
    # included.
    validate() { appstreamcli validate --no-net --pedantic --no-color "$1" | grep -v '^✔ Validation was successful\.$'; [ "${PIPESTATUS[0]}" -eq 0 ]; }
    check "appstreamcli validate --pedantic: metainfo" validate "$usr/share/metainfo/$app_id.metainfo.xml"
    # The metainfo, its desktop entry and the icon as installed together.
    validate_tree() { appstreamcli validate-tree --no-net --pedantic --no-color "$out/root" | grep -v '^✔ Validation was successful\.$'; [ "${PIPESTATUS[0]}" -eq 0 ]; }
    check "appstreamcli validate-tree --pedantic" validate_tree
fi

# gzip -9n: best compression (extra flags 2), neither the file's name nor
# its time stamp (flags 0, time 0), so that rebuilds give the same bytes.
gzip_header() {
    local f header=""
    for f in $(cd "$out/root" && find . -name '*.gz' | sort); do
        header=$(od -An -tu1 -j3 -N6 "$out/root/$f" | xargs)
        [ "$header" == "0 0 0 0 0 2" ] || echo "$f: flags, time and extra flags are $header"
    done
}
check "gzip -9n" gzip_header

have desktop-file-validate desktop-file-utils &&
    check "desktop-file-validate" desktop-file-validate "$usr/share/applications/$app_id.desktop"

if have man man-db && have groff groff-base; then
    page=$usr/share/man/man1/tallaro.1.gz
    check "man --warnings: manual page" sh -c 'man --warnings -E UTF-8 -l -Tutf8 -Z "$1" >/dev/null' _ "$page"
    shows_name() { MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q '^ *tallaro - counter-side cash tally' || echo "no NAME line"; }
    check "man -l shows the page" shows_name
fi

echo "$failures failed"
[ "$failures" -eq 0 ] || exit 1
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: missing tools: ${missing[*]}"
    exit 77
fi
