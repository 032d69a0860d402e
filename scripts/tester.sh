#!/usr/bin/env bash
# Builds algrel with its tests and runs the whole test suite (unit tests and
# end-to-end cases).
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
"$racine/scripts/installer_dependances.sh" --tests
cmake -S "$racine" -B "$racine/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DALGREL_TESTS=ON -DALGREL_BENCH=ON >/dev/null
cmake --build "$racine/build"
ctest --test-dir "$racine/build" --output-on-failure -j "$(nproc)"
