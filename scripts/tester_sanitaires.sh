#!/usr/bin/env bash
# Builds the test suite with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (leak detection included) and runs it.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
"$racine/scripts/installer_dependances.sh" --tests
cmake -S "$racine" -B "$racine/build-sanitaires" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DALGREL_SANITIZE=ON -DALGREL_TESTS=ON >/dev/null
cmake --build "$racine/build-sanitaires"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$racine/build-sanitaires" --output-on-failure -j "$(nproc)"
