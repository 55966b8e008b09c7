#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds Tarvex twice with warnings as errors
# and runs every test:
#   1. with clang, AddressSanitizer and UndefinedBehaviorSanitizer: the fuzz targets, each run
#      briefly from its seeds, then the tests;
#   2. the normal build (gcc): the tests, then the Debian package built from it and checked.
# Each step says how long it took.
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)
start=$SECONDS
step_start=$SECONDS
# step_done NAME: prints the time the step took and the time since the start.
step_done() {
    echo "   ($1 : $((SECONDS - step_start)) s ; total $((SECONDS - start)) s)"
    step_start=$SECONDS
}

./scripts/install-deps.sh || exit 1
step_done "installation"

jobs=$(nproc)
# Checks that need a peer tool (lame, mpg123, mediainfo, cd-paranoia, mutagen) or the outside
# corpus fail here when it is missing, naming it; run alone, they skip.
export TARVEX_REQUIRE_PEERS=1
fuzz_seconds=${TARVEX_FUZZ_SECONDS:-30}
status=0
# ccache takes the dependencies from the compiler rather than running the preprocessor a second
# time, and keeps the results of files compiled with a precompiled header.
export CCACHE_DEPEND=true CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

configure_and_build() { # folder, cmake options...
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >/dev/null || return 1
    if ! cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1; then
        grep -v -E '^\[[0-9]+/[0-9]+\]' "$dir/build.log" | tail -n 60
        return 1
    fi
    grep -i -E 'warning' "$dir/build.log" | head -n 20 || true
}

echo "== Mise en forme"
./scripts/check-format.sh || status=1
step_done "mise en forme"

echo "== Construction avec AddressSanitizer et UndefinedBehaviorSanitizer (clang)"
# The sanitizer build was made with gcc before it also held the fuzz targets: start it afresh.
if [ -f build-asan/CMakeCache.txt ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang' build-asan/CMakeCache.txt; then
    rm -rf build-asan
fi
# -O1 and line tables only: the sanitizers' reports keep their file and line, the fuzzers run
# fast, and the build is lighter than at -O2 -g.
if configure_and_build build-asan -DCMAKE_CXX_COMPILER=clang++ -DTARVEX_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only"; then
    step_done "construction"
    echo "== Cibles de fuzzing (${fuzz_seconds} s chacune)"
    ./scripts/run-fuzz.sh "$fuzz_seconds" || status=1
    step_done "fuzzing"
    echo "== Tests avec AddressSanitizer et UndefinedBehaviorSanitizer"
    # As in the normal build below, half the suites' time is spent waiting: twice as many run
    # at once as there are cores.
    (cd build-asan && ctest --output-on-failure -j "$((jobs * 2))") || status=1
    step_done "tests"
else
    echo "échec de la construction avec sanitizers"
    step_done "construction"
    status=1
fi

echo "== Construction normale"
# -g1 (functions and lines, enough for backtraces) instead of -g: the largest batch of the
# window compiles in 30 % less time.
if configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"; then
    step_done "construction"
    echo "== Tests"
    # These suites spend about half their time waiting on loopback servers, peer tools and
    # paced requests: twice as many run at once as there are cores.
    (cd build && ctest --output-on-failure -j "$((jobs * 2))") || status=1
    step_done "tests"
    echo "== Paquet Debian"
    ./scripts/check-package.sh build || status=1
    step_done "paquet"
else
    echo "échec de la construction"
    status=1
fi
exit $status
