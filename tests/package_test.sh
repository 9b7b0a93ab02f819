#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks what a user installs: its
# control fields, its files (all under /usr), the desktop entry, the AppStream entry, the manual
# pages, and the packaged programs' answers to --help, --version and a wrong option without a
# display.
#   package_test.sh CPACK BUILD-FOLDER
set -euo pipefail
cpack=$1
build=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

log=$("$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" 2>&1) || fail "cpack: $log"
debs=("$out"/velmor_*_*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "no velmor_<version>_<arch>.deb in: $(ls "$out")"
deb=${debs[0]}
field() { dpkg-deb -f "$deb" "$1"; }

[[ $(field Package) == velmor ]] || fail "Package: $(field Package)"
depends=", $(field Depends),"
for library in 'libqt6widgets6' 'libzip[0-9]+' 'libxdo[0-9]+'; do
    [[ $depends =~ ,\ $library[\ ,] ]] || fail "Depends lacks $library: $depends"
done
[[ ", $(field Recommends)," =~ ,\ wine[\ ,] ]] || fail "Recommends: $(field Recommends)"

paths=$(dpkg-deb -c "$deb" | awk '{print $6}')
if outside=$(grep -v '^\./usr/' <<<"$paths"); then fail "outside /usr: $outside"; fi
for path in bin/velmor bin/velmor-spcplay share/applications/velmor.desktop \
    share/metainfo/org.velmor.Velmor.metainfo.xml share/man/man1/velmor.1.gz \
    share/man/man1/velmor-spcplay.1.gz share/doc/velmor/copyright \
    share/icons/hicolor/48x48/apps/velmor.png; do
    grep -qxF "./usr/$path" <<<"$paths" || fail "no /usr/$path"
done

root=$out/root
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/velmor.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
grep -qxF 'Exec=/usr/bin/velmor %f' "$entry" || fail "entry runs $(grep Exec "$entry")"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.velmor.Velmor.metainfo.xml" \
    >/dev/null || fail "appstreamcli rejects the AppStream entry"
for page in velmor velmor-spcplay; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page(1): $warnings"
done

version=$(field Version)
for program in velmor velmor-spcplay; do
    binary=$root/usr/bin/$program
    ! readelf -S "$binary" | grep -q '\.symtab' || fail "$program is not stripped"
    run() { env -u DISPLAY -u WAYLAND_DISPLAY "$binary" "$@"; }
    [[ $(run --version) == "$program $version" && $(run -V) == "$program $version" ]] ||
        fail "$program --version: $(run --version)"
    run --help | grep -q "^usage: $program " || fail "$program --help: $(run --help)"
    run -h >/dev/null || fail "$program -h failed"
    status=0
    error=$(run --bogus 2>&1 >/dev/null) || status=$?
    [[ $status -eq 2 && $error == *"usage: $program"* ]] || fail "$program --bogus: $status $error"
done
echo "package test: 1 passed, 0 failed"
