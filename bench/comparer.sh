#!/usr/bin/env bash
# Side-by-side comparison of algrel and sqlite3 on the workloads written by
# generateur_charges. Builds Release, generates each workload at each size,
# runs it through algrel and through `sqlite3 :memory:` alternately, checks
# after every run that both printed the same number of rows for every printed
# relation, and prints the median wall time, the median CPU time (user and
# system: steadier than wall time on a busy machine), the peak resident memory
# and the ratios sqlite3/algrel.
#
# Usage: bench/comparer.sh
# Environment (optional): CHARGES="ingest ops nested cross many",
#   TAILLES="10000 100000 1000000", RUNS (default 5, 3 at 10^6 rows and more),
#   BUILD (default build-bench), TRAVAIL (default $BUILD/charges).
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD:-$racine/build-bench}"
travail="${TRAVAIL:-$build/charges}"
read -r -a charges <<<"${CHARGES:-ingest ops nested cross many}"
read -r -a tailles <<<"${TAILLES:-10000 100000 1000000}"

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

# The same from the CSV files that sqlite3 wrote.
comptes_sqlite() {
    while read -r nom; do
        echo "$nom $(wc -l <"resultat_$nom.csv")"
    done <imprimees.txt
}

mediane() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores," \
    "$(free -g | awk '/^Mem:/ { print $2 }') GiB; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$(sqlite3 --version | cut -d' ' -f1 | sed 's/^/sqlite3 /'); algrel built Release"
ligne='%-7s %8s %4s | %7s %7s %7s | %7s %7s %7s | %6s %6s\n'
printf "\n$ligne" "" "" "" algrel "" "" sqlite3 "" "" ratio ""
printf "$ligne" workload rows runs "wall s" "cpu s" MiB "wall s" "cpu s" MiB time mem
for taille in "${tailles[@]}"; do
    for charge in "${charges[@]}"; do
        dossier="$travail/${charge}_$taille"
        rm -rf "$dossier"
        "$generateur" "$charge" "$taille" "$dossier"
        cd "$dossier"
        runs=${RUNS:-$([ "$taille" -ge 1000000 ] && echo 3 || echo 5)}
        t_a=() c_a=() m_a=() t_s=() c_s=() m_s=()
        for ((i = 0; i < runs; i++)); do
            mesurer "$algrel" donnees.vorn commandes.vorn sortie.vorn
            t_a+=("$duree") c_a+=("$cpu") m_a+=("$memoire")
            [ -s stderr.txt ] && { echo "algrel wrote to stderr in $dossier" >&2; exit 1; }
            rm -f resultat_*.csv
            mesurer sqlite3 -batch :memory: <requetes.sql
            t_s+=("$duree") c_s+=("$cpu") m_s+=("$memoire")
            if ! diff <(comptes_algrel) <(comptes_sqlite) >ecarts.txt; then
                echo "row counts differ in $dossier (< algrel, > sqlite3):" >&2
                cat ecarts.txt >&2
                exit 1
            fi
        done
        comptes_algrel >comptes.txt
        ta=$(mediane "${t_a[@]}") ca=$(mediane "${c_a[@]}") ma=$(mediane "${m_a[@]}")
        ts=$(mediane "${t_s[@]}") cs=$(mediane "${c_s[@]}") ms=$(mediane "${m_s[@]}")
        printf "$ligne" "$charge" "$taille" "$runs" "$ta" "$ca" "$ma" "$ts" "$cs" "$ms" \
            "$(awk -v a="$ta" -v s="$ts" 'BEGIN { printf "%.1fx", (a > 0 ? s / a : 0) }')" \
            "$(awk -v a="$ma" -v s="$ms" 'BEGIN { printf "%.2fx", (a > 0 ? s / a : 0) }')"
        cd "$racine"
    done
done
echo
echo "Medians of the runs. Ratios sqlite3/algrel: time on the wall medians (above 1:" \
    "algrel faster), mem on the peak resident sets (above 1: algrel smaller)."
