#!/usr/bin/env bash
# Installs what is missing, builds Tarvex and starts it. Arguments are passed to the program.
# On a machine without a CD drive, Tarvex starts with the demo disc image the build writes.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
# The same flags as ./test.sh, so that the two share the folder without rebuilding.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build -j "$(nproc)"
args=("$@")
if ! ls /dev/sr[0-9]* /dev/cdrom >/dev/null 2>&1 && [[ " $* " != *" --cd-image"* ]]; then
    echo "Aucun lecteur de CD : Tarvex démarre avec le disque de démonstration (build/demo/tarvex-demo.cue)."
    args+=(--cd-image "build/demo/tarvex-demo.cue")
fi
exec build/src/app/tarvex "${args[@]}"
