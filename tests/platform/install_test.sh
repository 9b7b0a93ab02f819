#!/usr/bin/env bash
# Installs the built program into a temporary prefix (with a blank in its name) and checks that
# it is laid out as a desktop program: the program, a valid desktop entry that names it, icons.
#   install_test.sh CMAKE BUILD-FOLDER
set -euo pipefail
cmake=$1
build=$2
prefix=$(mktemp -d)/"Velmor Prefix"
trap 'rm -rf "$(dirname "$prefix")"' EXIT

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install test: $*" >&2; exit 1; }
entry="$prefix/share/applications/velmor.desktop"
[[ -x "$prefix/bin/velmor" ]] || fail "no program in bin/"
[[ -f "$entry" ]] || fail "no desktop entry"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
expected="Exec=\"$prefix/bin/velmor\" %f"
grep -qxF "$expected" "$entry" || fail "expected '$expected' in: $(grep Exec "$entry")"
for size in 16 32 48; do
    for icon in apps/velmor mimetypes/velmor-playlist mimetypes/velmor-music; do
        png="$prefix/share/icons/hicolor/${size}x${size}/$icon.png"
        [[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" == 89504e470d0a1a0a ]] ||
            fail "no PNG at $png"
    done
done
echo "install test: 1 passed, 0 failed"
