#!/usr/bin/env bash
# Fuzzes the zip extraction, the playlist reader and the registry export reader with libFuzzer
# (clang, AddressSanitizer and UndefinedBehaviorSanitizer), the extraction for SECONDS (default
# 60), the playlist reader for PLAYLIST_SECONDS (default 30) and the registry export reader for
# REGISTRY_SECONDS (default 30), starting from archives made here by Info-ZIP's zip and from
# playlists and exports made here. Exits non-zero on a finding; the input that caused it is kept
# in build-fuzz/.
#
#   bash tools/fuzz.sh [SECONDS] [PLAYLIST_SECONDS] [REGISTRY_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
playlist_seconds=${2:-30}
registry_seconds=${3:-30}
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

# Runs a fuzzer (the arguments after WHAT LOG FOLDER) with its own writing folder; on a finding
# shows the end of its log and fails.
run() {
    local what=$1 log=$2 folder=$3
    shift 3
    mkdir -p "$folder"
    VELMOR_FUZZ_DIR=$folder ASAN_OPTIONS=detect_leaks=1 "$@" 2>"$log" || {
        tail -n 60 "$log"
        echo "fuzz: a finding in $what; the input is in $build_dir/" >&2
        exit 1
    }
}

run "the zip extraction" "$work/log" "$work/run" \
    "$build_dir/unzip_fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build_dir/" "$work/corpus"
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ *DONE' "$work/log" || true
echo "fuzz: no finding in the zip extraction in ${seconds} s"

# The playlist reader and writer use no Qt either.
flock /tmp/velmor-build.lock clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -Isrc tests/music/PlaylistFuzzer.cpp src/music/Playlist.cpp \
    src/music/PlaylistParser.cpp src/music/PathList.cpp \
    -o "$build_dir/playlist_fuzzer"

# Seeds: an unclosed quote, NUL bytes, bytes that are not UTF-8, CR alone, plain and empty
# fields. A 1 MB line and 100,000 entries run once on their own first (-timeout catches a reader
# that slows down with size): mutating inputs that large would leave few runs for the rest.
lists=$work/playlists
big=$work/big-playlists
mkdir -p "$lists" "$big" "$work/playlist-run"
printf '"/music/a.spc"\r\n"/music/b, c.spc"\r\n' >"$lists/written.spl"
printf '"/music/a.spc"\r\n"/music/open.spc\r\nplain.spc\r\n' >"$lists/unclosed.spl"
printf '"a\0b.spc"\r\nc\0d.spc,"\0"\r\n' >"$lists/nul.spl"
printf '"/music/caf\351.spc"\r\n\377\376,"\xc3\x28"\n' >"$lists/latin1.spl"
printf '"a.spc"\r"b.spc"\rc.spc\r\r,,d.spc ,\t"e"x\n' >"$lists/cr-alone.spl"
printf '\357\273\277"bom.spc"\r\n""\r\n' >"$lists/bom.spl"
{ printf '"'; head -c 1048576 /dev/zero | tr '\0' x; printf '"\r\n'; } >"$big/long-line.spl"
seq -f '"/music/song %.0f.spc"' 100000 | sed 's/$/\r/' >"$big/many.spl"
{ printf '"unclosed\n'; seq -f 'song %.0f.spc' 100000; } >"$big/unclosed-many.spl"

run "the playlist reader on a large playlist" "$work/playlist-log" "$work/playlist-run" \
    "$build_dir/playlist_fuzzer" -timeout=20 -rss_limit_mb=2048 "$big"/*
grep -E '^Executed .* in [0-9]+ ms' "$work/playlist-log" || true
run "the playlist reader" "$work/playlist-log" "$work/playlist-run" \
    "$build_dir/playlist_fuzzer" -max_total_time="$playlist_seconds" -max_len=65536 -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build_dir/playlist-" "$lists"
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ *DONE' \
    "$work/playlist-log" || true
echo "fuzz: no finding in the playlist reader in ${playlist_seconds} s"

# The registry export reader (an import of the Windows version's settings) uses no Qt either.
flock /tmp/velmor-build.lock clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=all -Isrc tests/settings/RegistryExportFuzzer.cpp \
    src/settings/RegistryExport.cpp src/settings/WindowsText.cpp \
    -o "$build_dir/registry_export_fuzzer"

# Seeds: each of the three forms, with escapes, other types, values continued over lines,
# deletions, characters outside ASCII (code page 1252, UTF-16 with a surrogate pair, Wine's \x).
exports=$work/exports
mkdir -p "$exports" "$work/registry-run"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Velmor\\Paths]\r\n"ZSNES Location"="C:\\\\Games\\\\zsnesw.exe"\r\n"Rom Location"="Caf\351 \\"\200\\""\r\n@=""\r\n; a comment\r\n[-HKEY_LOCAL_MACHINE\\Software\\Velmor\\Video]\r\n"VSync"=-\r\n' \
    >"$exports/regedit4.reg"
{
    printf '\377\376'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Velmor\\Picture Links]\r\n"\346\227\245\346\234\254 \360\237\216\256.smc"="D:\\\\pics\\\\a.bmp"\r\n"Blob"=hex:01,02,\\\r\n  03,04\r\n"N"=dword:00000001\r\n"E"=hex(2):25,00,00,00\r\n' |
        iconv -f UTF-8 -t UTF-16LE
} >"$exports/regedit5.reg"
printf 'WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n[Software\\\\Velmor\\\\Options] 1700000000\n#time=1da0c1e2f3a4b5c\n"CPU Cycles"="120"\n"Caf\\xe9 \\xd83c\\xdfae"="\\\\\\"\\101\\t"\n"X"=str(2):"%%SystemRoot%%"\n"M"=hex(7):41,00,\\\n  00,00\n' \
    >"$exports/system.reg"

run "the registry export reader" "$work/registry-log" "$work/registry-run" \
    "$build_dir/registry_export_fuzzer" -max_total_time="$registry_seconds" -max_len=65536 \
    -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build_dir/registry-" \
    "$exports"
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ *DONE' \
    "$work/registry-log" || true
echo "fuzz: no finding in the registry export reader in ${registry_seconds} s"
