#!/usr/bin/env bash
# DuckDB (its Node.js package, installed into build-duckdb/ when missing)
# against algrel: every clean end-to-end case of algrel, then random programs.
# Usage: moteur_duckdb.sh ALGREL ALGREL_SQL [NOMBRE [GRAINE]]
set -euo pipefail
ici="$(dirname "$0")"
dossier="$("$ici/../../../scripts/installer_duckdb.sh")"
source "$ici/cas_propres.sh"
node "$ici/comparer_moteurs.mjs" --moteur duckdb --duckdb "$dossier" --algrel "$1" --sql "$2" \
    --aleatoire "${3:-300}" --graine "${4:-100001}" --cas "${cas_propres[@]}"
