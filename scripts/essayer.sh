#!/usr/bin/env bash
# Builds algrel (Release) and runs it on the bundled example: a data file and
# a command file. Shows the output file it wrote.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
"$racine/scripts/installer_dependances.sh"
cmake -S "$racine" -B "$racine/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DALGREL_TESTS=OFF -DALGREL_BENCH=OFF >/dev/null
cmake --build "$racine/build" --target algrel

sortie="$racine/build/exemple-sortie.vorn"
set +e
"$racine/build/algrel" "$racine/examples/employes-donnees.vorn" \
    "$racine/examples/employes-commandes.vorn" "$sortie"
statut=$?
set -e
echo
echo "--- exit status: $statut"
echo "--- $sortie:"
cat "$sortie"
echo
exit "$statut"
