#!/usr/bin/env bash
# Builds Velmor and runs the whole test suite twice: a normal build (build/) and one with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/). Between them the normal build's
# Debian package is made and checked with lintian and appstreamcli. The tests run under a virtual
# X server, without a session bus. Then the zip extraction is fuzzed for a minute, and the
# playlist reader and the registry export reader for half a minute each. Exits non-zero on any
# failure or finding.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh

# Each step is headed with the seconds since the script began, so that a slow one shows.
phase() { echo "== $1 (at ${SECONDS} s)"; }

# Builds of several work trees on one machine take turns; two cores are all there is.
lock=/tmp/velmor-build.lock
build() { flock "$lock" ninja -C "$1" -j2; }

suite() {
    DBUS_SESSION_BUS_ADDRESS=disabled: \
        xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$1" --output-on-failure --timeout 600
}

phase "build: RelWithDebInfo"
cmake --preset default
build build
phase "tests"
suite build

phase "the Debian package"
rm -f build/velmor_*.deb
flock "$lock" sh -c 'cd build && cpack -G DEB'
package=$(echo build/velmor_*.deb)
lintian --fail-on error "$package"
unpacked=$(mktemp -d)
dpkg-deb -x "$package" "$unpacked"
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
rm -rf "$unpacked"

phase "build: AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
build build-asan
phase "tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
    suite build-asan

phase "fuzzing the zip extraction, the playlist reader and the registry export reader"
bash tools/fuzz.sh 60 30 30
phase "done"
