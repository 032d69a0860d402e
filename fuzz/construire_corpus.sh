#!/usr/bin/env bash
# Rebuilds the committed seed corpus of each fuzz target from the end-to-end
# cases, the bundled examples and the hand-written seeds of fuzz/graines/,
# together with the corpus already committed (add a fuzzing run's finds to it
# first to keep them), minimized with libFuzzer's merge: it keeps only as many
# inputs as it takes to reach every edge that the whole set reaches.
# Usage: fuzz/construire_corpus.sh [build dir with the fuzz targets]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="${1:-$racine/build-fuzz}"
graines="$(mktemp -d)"
trap 'rm -rf "$graines"' EXIT
mkdir -p "$graines/commandes" "$graines/donnees"

# The fuzzers take inputs of at most 4096 bytes (-max_len in scripts/fuzz.sh).
TAILLE_MAX=4096
n=0
ajouter() { # ajouter target file...
    local cible="$1"; shift
    n=$((n + 1))
    cat "$@" >"$graines/$cible/graine-$n"
    [ "$(stat -c %s "$graines/$cible/graine-$n")" -le $TAILLE_MAX ] || rm "$graines/$cible/graine-$n"
}
nul="$graines/nul"
printf '\0' >"$nul"

for cas in "$racine"/tests/bout_en_bout/cas/*/; do
    commandes="$cas/commandes.vorn"
    donnees="$cas/donnees.vorn"
    [ -f "$commandes" ] || continue
    ajouter commandes "$commandes"
    if [ -f "$donnees" ]; then
        ajouter commandes "$donnees"
        ajouter commandes "$donnees" "$commandes"
        ajouter donnees "$donnees" "$nul" "$commandes"
    else
        ajouter donnees "$nul" "$commandes"
    fi
done
ajouter commandes "$racine"/examples/employes-donnees.vorn "$racine"/examples/employes-commandes.vorn
ajouter donnees "$racine"/examples/employes-donnees.vorn "$nul" "$racine"/examples/employes-commandes.vorn
for graine in "$racine"/fuzz/graines/*; do
    ajouter commandes "$graine"
    ajouter donnees "$graine" "$nul" "$graine"
done

for cible in commandes donnees; do
    corpus="$racine/fuzz/corpus/$cible"
    nouveau="$graines/fusion-$cible"
    mkdir -p "$corpus" "$nouveau"
    "$construction/fuzz/fuzz_$cible" -merge=1 -use_counters=0 -close_fd_mask=3 -timeout=30 \
        "$nouveau" "$corpus" "$graines/$cible" 2>&1 | grep -E '^MERGE-OUTER: [0-9]+ new files' || true
    rm -rf "$corpus"
    mv "$nouveau" "$corpus"
    echo "fuzz/corpus/$cible: $(ls "$corpus" | wc -l) files"
done
