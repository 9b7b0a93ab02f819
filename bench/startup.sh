#!/usr/bin/env bash
# Start-up time and peak memory of Velmor against the floor, side by side under one Xvfb.
#
#   bash bench/startup.sh [RUNS] [PROGRAM...]     (default 20 runs of each, alternating)
#
# The floor (bench/floor.cpp) is a plain Qt window with what Velmor's main window must show in
# any case: the same size, a menu bar, seven tabs and about seventy stock controls. Both
# programs run with VELMOR_EXIT_AT_FIRST_PAINT=1: each ends the moment its main window has been
# painted for the first time and the frame is with the X server (a round trip after the paint),
# printing that moment on the system's real-time clock.
#
# Time is measured from exec: from the moment just before the benchmark starts the program
# until that first paint. Memory is the peak resident set of the whole run (GNU time's %M).
# Velmor starts on a settings store of 50,000 picture links whose last game has a linked
# screenshot, so that its start-up looks up one link and shows one picture, as a user's does.
#
# Further programs named on the command line (say, copies of an older velmor and floor kept
# to compare) are run in the same alternation and reported beside them, against the floor.
set -euo pipefail
runs=${1:-20}
others=()
for program in "${@:2}"; do
    others+=("$(realpath "$program")")
done
cd "$(dirname "$0")/.."

build_dir=build-bench
velmor=$PWD/$build_dir/velmor
floor=$PWD/$build_dir/bench/velmor_floor

if [[ "${VELMOR_BENCH_INSIDE:-}" != 1 ]]; then
    bash tools/deps.sh
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_BENCH=ON \
        -DVELMOR_TESTS=OFF >/dev/null
    flock /tmp/velmor-build.lock ninja -C "$build_dir" -j2 velmor velmor_floor

    work=$(mktemp -d /tmp/velmor-startup-XXXXXX)
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/shots"
    # A 256 x 224 screenshot (the console's picture size), written as a PNG by hand.
    python3 - "$work/shots/Game25000.png" <<'PY'
import struct, sys, zlib
w, h = 256, 224
rows = b"".join(b"\0" + bytes((x ^ y) & 0xff for x in range(w) for _ in range(3)) for y in range(h))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
with open(sys.argv[1], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
PY
    root='HKEY_LOCAL_MACHINE\Software\Velmor'
    links="$root\\Picture Links"
    sqlite3 "$work/registry.db" >/dev/null <<SQL
PRAGMA journal_mode=WAL;
CREATE TABLE reg_keys   (path TEXT PRIMARY KEY COLLATE NOCASE);
CREATE TABLE reg_values (key  TEXT NOT NULL COLLATE NOCASE,
                         name TEXT NOT NULL COLLATE NOCASE,
                         type INTEGER NOT NULL,
                         data BLOB NOT NULL,
                         PRIMARY KEY (key, name));
INSERT INTO reg_keys VALUES ('HKEY_LOCAL_MACHINE\Software'), ('$root'), ('$root\\Paths'),
                            ('$links');
INSERT INTO reg_values VALUES
    ('$root', 'Last Game', 1, CAST('Game25000.smc' AS BLOB) || x'00'),
    ('$root\\Paths', 'SShots Location', 1, CAST('$work/shots' AS BLOB) || x'00');
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 49999)
INSERT INTO reg_values
SELECT '$links', 'Game' || i || '.smc', 1,
       CAST('$work/shots/Game' || i || '.png' AS BLOB) || x'00' FROM n;
SQL
    echo "store: $(sqlite3 "$work/registry.db" 'SELECT count(*) FROM reg_values') values," \
        "$(du -k "$work/registry.db" | cut -f1) KiB"

    VELMOR_BENCH_INSIDE=1 VELMOR_REGISTRY="$work/registry.db" \
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$runs" "${others[@]}"
    exit
fi

programs=("$velmor" "$floor" "${others[@]}")

export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb VELMOR_EXIT_AT_FIRST_PAINT=1
results=$(mktemp -d /tmp/velmor-startup-results-XXXXXX)
trap 'rm -rf "$results"' EXIT
mkdir -m 0700 "$results/run"
export XDG_RUNTIME_DIR=$results/run

# One run: appends "paint_us rss_kib" to $results/<index>. The start is bash's own clock read
# without a process of its own, just before the program is started.
measure() {
    local index=$1 program=$2 start out painted rss
    start=${EPOCHREALTIME/./}
    out=$(timeout 30 /usr/bin/time -f %M -o "$results/rss" "$program" </dev/null) || {
        echo "$program: not painted within 30 s (does it honour VELMOR_EXIT_AT_FIRST_PAINT=1?)" >&2
        exit 1
    }
    painted=$(sed -n 's/^painted \([0-9]*\)$/\1/p' <<<"$out" | head -n 1)
    if [[ -z "$painted" ]]; then
        echo "$program: ended without reporting its first paint" >&2
        exit 1
    fi
    rss=$(tail -n 1 "$results/rss")
    echo "$((painted / 1000 - start)) $rss" >>"$results/$index"
}

median() { # file, column
    awk -v c="$2" '{ print $c }' "$1" | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Warm the caches (and let Velmor write its defaults into the store once).
for _ in 1 2; do
    for index in "${!programs[@]}"; do
        measure warmup "${programs[$index]}"
    done
done
for ((i = 0; i < runs; i++)); do
    for index in "${!programs[@]}"; do
        measure "$index" "${programs[$index]}"
    done
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0) ? "%.2f" : "-", a / b }'; }
f_time=$(median "$results/1" 1) f_rss=$(median "$results/1" 2)
printf '\nmedians of %d alternating runs each; ratios to the floor\n' "$runs"
printf '%-44s %14s %7s %14s %7s\n' program "exec-paint ms" ratio "max RSS KiB" ratio
for index in "${!programs[@]}"; do
    time_us=$(median "$results/$index" 1) rss=$(median "$results/$index" 2)
    name=${programs[$index]#"$PWD/"}
    ((${#name} <= 44)) || name=...${name: -41}
    printf '%-44s %14.1f %7s %14s %7s\n' "$name" \
        "$(awk -v u="$time_us" 'BEGIN { print u / 1000 }')" "$(ratio "$time_us" "$f_time")" \
        "$rss" "$(ratio "$rss" "$f_rss")"
done
