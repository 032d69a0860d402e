#!/usr/bin/env bash
# Side-by-side comparison of algrel with sqlite3 and DuckDB on the workloads
# written by generateur_charges. Builds Release, generates each workload at
# each size, runs it through algrel, `sqlite3 :memory:` and an in-memory DuckDB
# (its Node.js package, installed with npm into build-duckdb/ by
# scripts/installer_duckdb.sh when missing) in
# turn, checks after every run that each peer printed the same number of rows
# as algrel for every printed relation, and prints the median wall time, the
# median CPU time (user and system: steadier than wall time on a busy
# machine), the peak resident memory and the ratios peer/algrel.
#
# Usage: bench/comparer.sh
# Environment (optional): CHARGES="ingest ops nested cross many",
#   TAILLES="10000 100000 1000000" (10000000 too, at will), PAIRS="sqlite3 duckdb"
#   (the peers run), RUNS (default 5, 3 at 10^6 rows and more),
#   THREADS_DUCKDB (default 2), BUILD (default build-bench),
#   TRAVAIL (default $BUILD/charges).
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-$racine/build-bench}"
travail="${TRAVAIL:-$build/charges}"
read -r -a charges <<<"${CHARGES:-ingest ops nested cross many}"
read -r -a tailles <<<"${TAILLES:-10000 100000 1000000}"
read -r -a pairs <<<"${PAIRS:-sqlite3 duckdb}"

installer() {
    local manquants=()
    for paquet in "$@"; do
        dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed" ||
            manquants+=("$paquet")
    done
    [ ${#manquants[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y "${manquants[@]}" >/dev/null || {
        $sudo apt-get update >/dev/null && $sudo apt-get install -y "${manquants[@]}" >/dev/null
    }
}

"$racine/scripts/installer_dependances.sh"
installer libbenchmark-dev sqlite3 time
cmake -S "$racine" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DALGREL_TESTS=OFF -DALGREL_BENCH=ON >/dev/null
cmake --build "$build" --target algrel generateur_charges >/dev/null
build="$(cd "$build" && pwd)"
mkdir -p "$travail"
travail="$(cd "$travail" && pwd)"
algrel="$build/algrel"
generateur="$build/bench/generateur_charges"
script_duckdb="$racine/bench/duckdb_requetes.js"
modules_duckdb=""
if [[ " ${pairs[*]} " == *" duckdb "* ]]; then
    command -v npm >/dev/null || installer nodejs npm
    # The same pinned package as the test suite's checks of algrel-sql.
    modules_duckdb="$("$racine/scripts/installer_duckdb.sh")/node_modules"
fi

# Runs a command in the current folder; sets `duree` (wall, seconds), `cpu`
# (user and system, seconds) and `memoire` (peak resident set, MiB). Standard input is requetes.sql for sqlite3.
mesurer() {
    local debut fin
    debut=${EPOCHREALTIME/./}
    if ! /usr/bin/time -v -o temps.txt "$@" >stdout.txt 2>stderr.txt; then
        echo "failed: $* (in $PWD)" >&2
        cat stderr.txt >&2
        exit 1
    fi
    fin=${EPOCHREALTIME/./}
    duree=$(awk -v d=$((fin - debut)) 'BEGIN { printf "%.3f", d / 1e6 }')
    memoire=$(awk '/Maximum resident set size/ { printf "%.1f", $NF / 1024 }' temps.txt)
    cpu=$(awk '/(User|System) time/ { t += $NF } END { printf "%.3f", t }' temps.txt)
}

# "name count" for each printed relation, from algrel's output file.
comptes_algrel() {
    awk 'NR == FNR { noms[++k] = $0; next }
         /^@data / { split($2, p, ":"); n[p[1]]++ }
         END { for (i = 1; i <= k; i++) print noms[i], n[noms[i]] + 0 }' imprimees.txt sortie.vorn
}

# The same from the CSV files that a peer wrote.
comptes_pair() {
    while read -r nom; do
        echo "$nom $(wc -l <"resultat_$nom.csv")"
    done <imprimees.txt
}

# Runs the workload of the current folder through peer $1.
lancer_pair() {
    rm -f resultat_*.csv
    case "$1" in
    sqlite3) mesurer sqlite3 -batch :memory: <requetes.sql ;;
    duckdb) mesurer node "$script_duckdb" "$modules_duckdb" requetes.sql "${THREADS_DUCKDB:-2}" ;;
    *) echo "unknown peer: $1" >&2; exit 1 ;;
    esac
}

mediane() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

rapport() { awk -v a="$1" -v s="$2" -v f="$3" 'BEGIN { printf f, (a > 0 ? s / a : 0) }'; }

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores," \
    "$(free -g | awk '/^Mem:/ { print $2 }') GiB; load average $(cut -d' ' -f1-3 /proc/loadavg)"
versions="algrel built Release"
for p in "${pairs[@]}"; do
    case "$p" in
    sqlite3) versions+="; sqlite3 $(sqlite3 --version | cut -d' ' -f1)" ;;
    duckdb) versions+="; DuckDB $(node -p "require('$modules_duckdb/@duckdb/node-api/package.json').version") (Node.js $(node --version), ${THREADS_DUCKDB:-2} threads)" ;;
    esac
done
echo "$versions"
entete1=$(printf '%-7s %8s %4s | %7s %7s %7s' "" "" "" algrel "" "")
entete2=$(printf '%-7s %8s %4s | %7s %7s %7s' workload rows runs "wall s" "cpu s" MiB)
for p in "${pairs[@]}"; do
    entete1+=$(printf ' | %7s %7s %7s | %6s %6s' "$p" "" "" ratio "")
    entete2+=$(printf ' | %7s %7s %7s | %6s %6s' "wall s" "cpu s" MiB time mem)
done
printf '\n%s\n%s\n' "$entete1" "$entete2"
for taille in "${tailles[@]}"; do
    for charge in "${charges[@]}"; do
        dossier="$travail/${charge}_$taille"
        rm -rf "$dossier"
        "$generateur" "$charge" "$taille" "$dossier"
        cd "$dossier"
        runs=${RUNS:-$([ "$taille" -ge 1000000 ] && echo 3 || echo 5)}
        declare -A t=() c=() m=()
        for ((i = 0; i < runs; i++)); do
            # Each program writes a new file, as the peers' results are removed
            # too: truncating the last run's output would be timed otherwise.
            rm -f sortie.vorn
            mesurer "$algrel" donnees.vorn commandes.vorn sortie.vorn
            t[algrel]+=" $duree" c[algrel]+=" $cpu" m[algrel]+=" $memoire"
            [ -s stderr.txt ] && { echo "algrel wrote to stderr in $dossier" >&2; exit 1; }
            comptes_algrel >comptes.txt
            for p in "${pairs[@]}"; do
                lancer_pair "$p"
                t[$p]+=" $duree" c[$p]+=" $cpu" m[$p]+=" $memoire"
                if ! diff comptes.txt <(comptes_pair) >ecarts.txt; then
                    echo "row counts differ in $dossier (< algrel, > $p):" >&2
                    cat ecarts.txt >&2
                    exit 1
                fi
            done
        done
        # shellcheck disable=SC2086
        ta=$(mediane ${t[algrel]}) ma=$(mediane ${m[algrel]})
        # shellcheck disable=SC2086
        ligne=$(printf '%-7s %8s %4s | %7s %7s %7s' "$charge" "$taille" "$runs" "$ta" \
            "$(mediane ${c[algrel]})" "$ma")
        for p in "${pairs[@]}"; do
            # shellcheck disable=SC2086
            tp=$(mediane ${t[$p]}) mp=$(mediane ${m[$p]})
            # shellcheck disable=SC2086
            ligne+=$(printf ' | %7s %7s %7s | %6s %6s' "$tp" "$(mediane ${c[$p]})" "$mp" \
                "$(rapport "$ta" "$tp" '%.1fx')" "$(rapport "$ma" "$mp" '%.2fx')")
        done
        echo "$ligne"
        unset t c m
        cd "$racine"
    done
done
echo
echo "Medians of the runs. Ratios peer/algrel: time on the wall medians (above 1:" \
    "algrel faster), mem on the peak resident sets (above 1: algrel smaller)."
