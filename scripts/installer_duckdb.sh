#!/usr/bin/env bash
# Installs DuckDB's Node.js package into build-duckdb/ (ignored by git) when it
# is missing, and prints that folder. Usage: scripts/installer_duckdb.sh
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
dossier="$racine/build-duckdb"
if [ ! -f "$dossier/node_modules/@duckdb/node-api/package.json" ]; then
    command -v npm >/dev/null || { echo "npm est introuvable : installez Node.js" >&2; exit 1; }
    mkdir -p "$dossier"
    [ -f "$dossier/package.json" ] || echo '{"private": true}' >"$dossier/package.json"
    npm install --prefix "$dossier" --no-audit --no-fund --loglevel=error @duckdb/node-api >&2
fi
echo "$dossier"
