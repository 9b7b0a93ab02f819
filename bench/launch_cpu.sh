#!/usr/bin/env bash
# Processor time Velmor uses while a game it launched runs: a stand-in emulator that sleeps
# 5 s is started by a click on LAUNCH, directly and out of a zip archive, and Velmor's CPU time
# (all its threads, from /proc/PID/task/*/schedstat) is read from 0.5 s to 4.5 s after the
# click. Goal: under 1% of one core.
#
#   bash bench/launch_cpu.sh [RUNS]     (default 3 runs of each kind)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-3}
if [[ "${VELMOR_BENCH_INSIDE:-}" != 1 ]]; then
    bash tools/deps.sh
    cmake --preset default >/dev/null
    flock /tmp/velmor-build.lock ninja -C build -j2 velmor fake_emulator
    VELMOR_BENCH_INSIDE=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$runs"
    exit
fi

work=$(mktemp -d /tmp/velmor-launch-cpu-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -m 0700 "$work/run" && mkdir "$work/roms"
export XDG_RUNTIME_DIR=$work/run VELMOR_REGISTRY=$work/registry.db
export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb
export FAKE_EMULATOR_LOG=$work/log FAKE_EMULATOR_SLEEP_MS=5000
head -c 4194304 /dev/urandom >"$work/roms/game.smc"
(cd "$work/roms" && zip -q game.zip game.smc)

cpu_ns() { # CPU time of every thread of process $1, in ns
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { print s + 0 }'
}
set_value() { # key name text
    sqlite3 "$VELMOR_REGISTRY" "UPDATE reg_values SET data = CAST('$3' AS BLOB) || x'00'
        WHERE key = 'HKEY_LOCAL_MACHINE\\Software\\Velmor$1' AND name = '$2'"
}
start_velmor() {
    build/velmor >/dev/null 2>&1 &
    pid=$!
    window=$(xdotool search --sync --all --pid "$pid" --name '.' | head -n 1)
    sleep 1
}

start_velmor # a first run writes the defaults into the store
kill -TERM "$pid" && wait "$pid" || true
set_value '\Paths' 'ZSNES Location' "$PWD/build/tests/fake_emulator"
set_value '\Paths' 'Rom Location' "$work/roms"

printf '%-8s %6s %14s %10s\n' kind run "cpu (ms/4 s)" "% of core"
for kind in smc zip; do
    for ((i = 1; i <= runs; i++)); do
        set_value '' 'Last Game' "game.$kind"
        start_velmor
        height=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p')
        # LAUNCH lies 276 px from the left and 26 px above the bottom of the window.
        xdotool mousemove --window "$window" 276 $((height - 26)) click 1
        sleep 0.5
        before=$(cpu_ns "$pid")
        sleep 4
        after=$(cpu_ns "$pid")
        kill -TERM "$pid" # the close waits for the game's end
        wait "$pid" || true
        awk -v k="$kind" -v r="$i" -v d=$((after - before)) \
            'BEGIN { printf "%-8s %6d %14.3f %10.4f\n", k, r, d / 1e6, d / 4e9 * 100 }'
    done
done
echo "emulator starts logged: $(grep -c '^cwd ' "$work/log")"
