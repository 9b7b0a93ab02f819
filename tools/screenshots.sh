#!/usr/bin/env bash
# Takes pictures of every window of Velmor under Xvfb (the main window with each tab, the
# splash, About, Options, the game picker, the playlist editor) and keeps 256-colour copies of them in
# docs/screenshots/, the pictures the README shows. Full-colour ones are left in
# build/screenshots/.
#   bash tools/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
[[ -f build/build.ninja ]] || cmake --preset default >/dev/null
# Builds share one lock on a machine where several work trees build at once.
flock "${TMPDIR:-/tmp}/velmor-build.lock" ninja -C build -j2 velmor_screenshots

docs="$PWD/docs/screenshots"
mkdir -p "$docs"
rm -f "$docs"/*.png
# The same screen and fonts on every machine, so that the pictures change only with the program.
VELMOR_SCREENSHOT_DOCS="$docs" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled: \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" build/tools/screenshots/velmor_screenshots

status=0
for picture in "$docs"/*.png; do
    size=$(stat -c %s "$picture")
    printf '%6d bytes  %s\n' "$size" "${picture#"$PWD"/}"
    if ((size > 30 * 1024)); then
        echo "screenshots: ${picture##*/} is over 30 KB" >&2
        status=1
    fi
done
exit "$status"
