#!/usr/bin/env bash
# sqlite3 against algrel: every clean end-to-end case of algrel, then random
# programs. Usage: moteur_sqlite.sh ALGREL ALGREL_SQL [NOMBRE [GRAINE]]
set -euo pipefail
ici="$(dirname "$0")"
command -v sqlite3 >/dev/null || { echo "sqlite3 manque : scripts/installer_dependances.sh --tests"; exit 1; }
source "$ici/cas_propres.sh"
node "$ici/comparer_moteurs.mjs" --moteur sqlite --algrel "$1" --sql "$2" \
    --aleatoire "${3:-2000}" --graine "${4:-1}" --cas "${cas_propres[@]}"
