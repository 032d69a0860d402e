#!/usr/bin/env bash
# Runs every end-to-end case with algrel under valgrind's memcheck (Release
# build, in build-valgrind): a case passes when its expected results hold and
# memcheck reports no invalid access, no use of uninitialised memory and no
# leak. Cases listed in TROP_GROS feed algrel inputs too big to be run at
# valgrind's pace and are skipped.
# Usage: scripts/valgrind.sh [case name pattern, a shell glob; * by default]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
motif="${1:-*}"
construction="$racine/build-valgrind"

# name: why it is skipped. None so far: the biggest cases (a 50 MB token, a
# million statements) take 3 and 12 seconds under memcheck.
TROP_GROS=(
)

"$racine/scripts/installer_dependances.sh"
command -v valgrind >/dev/null || {
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y valgrind || { $sudo apt-get update && $sudo apt-get install -y valgrind; }
}
cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DALGREL_TESTS=OFF -DALGREL_BENCH=OFF >/dev/null
cmake --build "$construction" --target algrel

travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT
mkdir -p "$travail/journaux" "$travail/resultats"
# The program the cases run: algrel under memcheck, its report in a file of
# its own so that standard error stays the program's, its exit status the
# program's unless memcheck found something (99).
enveloppe="$travail/algrel"
cat >"$enveloppe" <<FIN
#!/usr/bin/env bash
exec valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=all \\
    --errors-for-leak-kinds=definite,indirect,possible --track-origins=yes -q \\
    --log-file="$travail/journaux/%p.log" "$construction/algrel" "\$@"
FIN
chmod +x "$enveloppe"

est_trop_gros() {
    local entree
    for entree in "${TROP_GROS[@]}"; do [ "${entree%%:*}" = "$1" ] && return 0; done
    return 1
}

cas_a_lancer=()
for cas in "$racine"/tests/bout_en_bout/cas/$motif/; do
    nom="$(basename "$cas")"
    if est_trop_gros "$nom"; then echo "skipped: $nom (too big for valgrind)"; continue; fi
    cas_a_lancer+=("$cas")
done

lancer_un() {
    local cas="$1" nom
    nom="$(basename "$cas")"
    if bash "$racine/tests/bout_en_bout/lancer_cas.sh" "$enveloppe" "$cas" \
            >"$travail/resultats/$nom.txt" 2>&1; then
        echo "ok      $nom"
    else
        echo "FAILED  $nom"
        touch "$travail/resultats/$nom.echec"
    fi
}
export -f lancer_un
export racine travail enveloppe
printf '%s\0' "${cas_a_lancer[@]}" | xargs -0 -n 1 -P "$(nproc)" bash -c 'lancer_un "$1"' _

echecs=("$travail"/resultats/*.echec)
rapports=$(find "$travail/journaux" -type f -size +0 | wc -l)
if [ -e "${echecs[0]}" ] || [ "$rapports" -ne 0 ]; then
    for echec in "${echecs[@]}"; do
        [ -e "$echec" ] || continue
        echo "== $(basename "$echec" .echec):"
        head -n 40 "${echec%.echec}.txt"
    done
    find "$travail/journaux" -type f -size +0 -exec sh -c 'echo "== memcheck: $1"; head -n 60 "$1"' _ {} \;
    echo "valgrind: ${#cas_a_lancer[@]} cases run, failures above"
    exit 1
fi
echo "valgrind: ${#cas_a_lancer[@]} cases run, memcheck clean"
