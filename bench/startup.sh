#!/usr/bin/env bash
# Start-up time and peak memory of Velmor against the floor (a bare Qt window of the same size),
# side by side under one Xvfb, with a settings store that holds 50,000 picture links.
#
#   bash bench/startup.sh [RUNS]     (default 20 runs of each, alternating)
#
# Time is measured from exec until the process ends, which both programs do the moment their
# main window is first exposed (VELMOR_EXIT_ON_EXPOSE=1); each also reports that moment itself,
# counted from the start of main().
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-20}
build_dir=build-bench
velmor=$build_dir/velmor
floor=$build_dir/bench/velmor_floor

if [[ "${VELMOR_BENCH_INSIDE:-}" != 1 ]]; then
    bash tools/deps.sh
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_BENCH=ON \
        -DVELMOR_TESTS=OFF >/dev/null
    flock /tmp/velmor-build.lock ninja -C "$build_dir" -j2 velmor velmor_floor bench_save

    work=$(mktemp -d /tmp/velmor-startup-XXXXXX)
    trap 'rm -rf "$work"' EXIT
    links='HKEY_LOCAL_MACHINE\Software\Velmor\Picture Links'
    sqlite3 "$work/registry.db" <<SQL
PRAGMA journal_mode=WAL;
CREATE TABLE reg_keys   (path TEXT PRIMARY KEY COLLATE NOCASE);
CREATE TABLE reg_values (key  TEXT NOT NULL COLLATE NOCASE,
                         name TEXT NOT NULL COLLATE NOCASE,
                         type INTEGER NOT NULL,
                         data BLOB NOT NULL,
                         PRIMARY KEY (key, name));
INSERT INTO reg_keys VALUES ('HKEY_LOCAL_MACHINE\Software'), ('HKEY_LOCAL_MACHINE\Software\Velmor'),
                            ('$links');
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 49999)
INSERT INTO reg_values
SELECT '$links', 'Game' || i || '.smc', 1,
       CAST('/home/someone/snes/shots/Game' || i || '.png' AS BLOB) || x'00' FROM n;
SQL
    echo "store: $(sqlite3 "$work/registry.db" 'SELECT count(*) FROM reg_values') values," \
        "$(du -k "$work/registry.db" | cut -f1) KiB"

    VELMOR_BENCH_INSIDE=1 VELMOR_REGISTRY="$work/registry.db" \
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$runs"
    exit
fi

export DBUS_SESSION_BUS_ADDRESS=disabled: QT_QPA_PLATFORM=xcb VELMOR_EXIT_ON_EXPOSE=1
results=$(mktemp -d /tmp/velmor-startup-results-XXXXXX)
trap 'rm -rf "$results"' EXIT
mkdir -m 0700 "$results/run"
export XDG_RUNTIME_DIR=$results/run

# One run: appends "wall_ms exposed_ms rss_kib" to $results/NAME.
measure() {
    local name=$1 program=$2 start end out rss
    start=$(date +%s%N)
    out=$(timeout 30 /usr/bin/time -f %M -o "$results/rss" "$program" </dev/null) || {
        echo "$name: no exposure within 30 s (does it honour VELMOR_EXIT_ON_EXPOSE=1?)" >&2
        exit 1
    }
    end=$(date +%s%N)
    rss=$(tail -n 1 "$results/rss")
    local exposed
    exposed=$(sed -n 's/^exposed \([0-9]*\)$/\1/p' <<<"$out" | head -n 1)
    if [[ -z "$exposed" ]]; then
        echo "$name: ended without reporting its exposure" >&2
        exit 1
    fi
    echo "$(((end - start) / 1000)) $exposed $rss" >>"$results/$name"
}

median() { # column of $results/NAME
    awk -v c="$2" '{ print $c }' "$results/$1" | sort -n |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Warm the caches (and let Velmor write its defaults into the store once).
for _ in 1 2; do
    measure warmup "$velmor"
    measure warmup "$floor"
done
for ((i = 0; i < runs; i++)); do
    measure velmor "$velmor"
    measure floor "$floor"
done

v_wall=$(median velmor 1) f_wall=$(median floor 1)
v_exp=$(median velmor 2) f_exp=$(median floor 2)
v_rss=$(median velmor 3) f_rss=$(median floor 3)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0) ? "%.2f" : "-", a / b }'; }

printf '\nmedians of %d alternating runs each\n' "$runs"
printf '%-34s %12s %12s %8s\n' "" velmor floor ratio
printf '%-34s %12.1f %12.1f %8s\n' "exec to window exposed (ms)" \
    "$(awk -v u="$v_wall" 'BEGIN { print u / 1000 }')" \
    "$(awk -v u="$f_wall" 'BEGIN { print u / 1000 }')" "$(ratio "$v_wall" "$f_wall")"
printf '%-34s %12s %12s %8s\n' "main() to window exposed (ms)" "$v_exp" "$f_exp" \
    "$(ratio "$v_exp" "$f_exp")"
printf '%-34s %12s %12s %8s\n' "max RSS (KiB)" "$v_rss" "$f_rss" "$(ratio "$v_rss" "$f_rss")"
