#!/usr/bin/env bash
# Fuzzes the zip extraction with libFuzzer (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# for SECONDS (default 60), starting from archives made here by Info-ZIP's zip. Exits non-zero
# on a finding; the input that caused it is kept in build-fuzz/.
#
#   bash tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build_dir=build-fuzz
mkdir -p "$build_dir"
work=$(mktemp -d /tmp/velmor-fuzz-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The extraction code uses no Qt, so the target is built from its sources alone.
# shellcheck disable=SC2046
flock /tmp/velmor-build.lock clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -Isrc tests/launch/UnzipFuzzer.cpp src/launch/Unzip.cpp \
    src/launch/UnzipFolder.cpp $(pkg-config --cflags --libs libzip) -o "$build_dir/unzip_fuzzer"

# Seeds: stored, deflated and encrypted members, folders, a link, names that climb.
seed=$work/seed
mkdir -p "$seed/roms/japan" "$work/corpus"
head -c 3000 /dev/urandom >"$seed/roms/noise.smc"
{ head -c 2000 /dev/urandom; head -c 4000 /dev/zero | tr '\0' S; } >"$seed/roms/japan/game.sfc"
printf 'readme\n' >"$seed/read.txt"
ln -s ../read.txt "$seed/roms/link.smc"
(
    cd "$seed"
    zip -q -r ../corpus/deflated.zip roms read.txt
    zip -q -0 -r ../corpus/stored.zip roms
    zip -q -y -r ../corpus/link.zip roms
    zip -q -P secret ../corpus/encrypted.zip read.txt
    zip -q ../corpus/single.zip roms/japan/game.sfc
    cd roms/japan && zip -q ../../../corpus/climbing.zip ../../read.txt
)

mkdir -p "$work/run"
VELMOR_FUZZ_DIR=$work/run ASAN_OPTIONS=detect_leaks=1 \
    "$build_dir/unzip_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build_dir/" "$work/corpus" \
    2>"$work/log" || {
    tail -n 60 "$work/log"
    echo "fuzz: a finding; the input is in $build_dir/" >&2
    exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ *DONE' "$work/log" || true
echo "fuzz: no finding in ${seconds} s"
