#!/usr/bin/env bash
# Checks algrel-sql on a real PostgreSQL server: installs the Debian package
# when missing, starts a throwaway server listening only on a Unix socket in a
# temporary folder, compares algrel's listings with the server's for algrel's
# clean end-to-end cases and for random programs, then stops the server.
# Usage: scripts/tester_postgresql.sh [NOMBRE [GRAINE]]   (uses ./build)
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
nombre="${1:-300}"
graine="${2:-200001}"

binaires() { ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1; }
if [ -z "$(binaires)" ] || ! command -v psql >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y postgresql || { $sudo apt-get update && $sudo apt-get install -y postgresql; }
fi
bin="$(binaires)"

[ -x "$racine/build/algrel" ] && [ -x "$racine/build/algrel-sql" ] ||
    cmake --build "$racine/build" --target algrel algrel-sql

# initdb and pg_ctl refuse to run as root: the server runs as postgres.
en_postgres() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
dossier="$(mktemp -d)"
[ "$(id -u)" -eq 0 ] && chown postgres "$dossier"
arreter() {
    en_postgres "$bin/pg_ctl" -D "$dossier/grappe" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$dossier"
}
trap arreter EXIT

en_postgres "$bin/initdb" -D "$dossier/grappe" -U postgres -A trust -E UTF8 --locale=C \
    --no-sync >/dev/null
en_postgres "$bin/pg_ctl" -D "$dossier/grappe" -l "$dossier/journal" -w \
    -o "-c listen_addresses='' -k $dossier -c fsync=off" start >/dev/null

export PGHOST="$dossier" PGUSER=postgres
source "$racine/tests/outils/sql/cas_propres.sh"
node "$racine/tests/outils/sql/comparer_moteurs.mjs" --moteur postgresql \
    --algrel "$racine/build/algrel" --sql "$racine/build/algrel-sql" \
    --aleatoire "$nombre" --graine "$graine" --cas "${cas_propres[@]}"
