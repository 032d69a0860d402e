#!/usr/bin/env bash
# Installs DuckDB's Node.js package into build-duckdb/ (ignored by git) when it
# is missing, and prints that folder. Usage: scripts/installer_duckdb.sh
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
dossier="$racine/build-duckdb"
# One known version, so that every run checks against the same engine.
version="1.5.6-r.1"
paquet="$dossier/node_modules/@duckdb/node-api/package.json"
if ! grep -q "\"version\": \"$version\"" "$paquet" 2>/dev/null; then
    command -v npm >/dev/null || { echo "npm est introuvable : installez Node.js" >&2; exit 1; }
    mkdir -p "$dossier"
    [ -f "$dossier/package.json" ] || echo '{"private": true}' >"$dossier/package.json"
    npm install --prefix "$dossier" --no-audit --no-fund --loglevel=error "@duckdb/node-api@$version" >&2
fi
echo "$dossier"
