#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds Tarvex three ways with warnings as
# errors and runs every test:
#   1. the fuzz targets (clang, ASan + UBSan), each run briefly from its seeds;
#   2. the tests built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the tests of the normal build, then the Debian package built from it and checked.
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)
./scripts/install-deps.sh || exit 1

jobs=$(nproc)
# Checks that need a peer tool (lame, mpg123, mediainfo, cd-paranoia, mutagen) or the outside
# corpus fail here when it is missing, naming it; run alone, they skip.
export TARVEX_REQUIRE_PEERS=1
fuzz_seconds=${TARVEX_FUZZ_SECONDS:-30}
status=0

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

echo "== Cibles de fuzzing (${fuzz_seconds} s chacune)"
if configure_and_build build-fuzz -DTARVEX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
    ./scripts/run-fuzz.sh "$fuzz_seconds" || status=1
else
    echo "échec de la construction des cibles de fuzzing"
    status=1
fi

echo "== Tests avec AddressSanitizer et UndefinedBehaviorSanitizer"
if configure_and_build build-asan -DTARVEX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug; then
    (cd build-asan && ctest --output-on-failure -j "$jobs") || status=1
else
    echo "échec de la construction avec sanitizers"
    status=1
fi

echo "== Tests"
if configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
    (cd build && ctest --output-on-failure -j "$jobs") || status=1
    echo "== Paquet Debian"
    ./scripts/check-package.sh build || status=1
else
    echo "échec de la construction"
    status=1
fi
exit $status
