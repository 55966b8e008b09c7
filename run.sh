#!/usr/bin/env bash
# Installs what is missing, builds Tarvex and starts it. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ ! -x build/src/app/tarvex ]; then
    echo "La fenêtre de Tarvex n'est pas encore construite ; seul tarvex-cli est disponible (build/cli/tarvex-cli)."
    exit 0
fi
exec build/src/app/tarvex "$@"
