#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer
# and libFuzzer, in build-fuzz), replays the committed corpus of each target,
# then fuzzes each target in turn for its share of the time given.
# Usage: scripts/fuzz.sh [total seconds of fuzzing, 60 by default]
# Fails on any crash, leak, undefined behaviour, timeout or memory blow-up;
# the input that caused it is left in build-fuzz/artefacts/.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
duree_totale="${1:-60}"
construction="$racine/build-fuzz"
cibles=(commandes donnees)

"$racine/scripts/installer_dependances.sh" --tests
cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DALGREL_FUZZ=ON -DALGREL_TESTS=OFF -DALGREL_BENCH=OFF >/dev/null
cmake --build "$construction" --target "${cibles[@]/#/fuzz_}"

artefacts="$construction/artefacts"
travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT
mkdir -p "$artefacts"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The program's own output is thrown away (-close_fd_mask=3); the sanitizers'
# reports still come through. A single input gets 25 seconds: the memory
# ceiling of the targets keeps the heaviest legitimate one to a few.
options=(-close_fd_mask=3 -timeout=25 -rss_limit_mb=2048 -max_len=4096
         -dict="$racine/fuzz/algrel.dict")

echec=0
for cible in "${cibles[@]}"; do
    programme="$construction/fuzz/fuzz_$cible"
    corpus="$racine/fuzz/corpus/$cible"
    echo "== fuzz_$cible: replaying $(ls "$corpus" | wc -l) committed inputs"
    if ! "$programme" "${options[@]}" -runs=0 -artifact_prefix="$artefacts/$cible-" \
            "$corpus" >"$travail/rejeu-$cible.txt" 2>&1; then
        tail -n 60 "$travail/rejeu-$cible.txt"
        echec=1
        continue
    fi
done
[ $echec -eq 0 ] || { echo "fuzz: the committed corpus fails"; exit 1; }

duree=$(( duree_totale / ${#cibles[@]} ))
[ "$duree" -ge 1 ] || duree=1
for cible in "${cibles[@]}"; do
    programme="$construction/fuzz/fuzz_$cible"
    echo "== fuzz_$cible: fuzzing for $duree s"
    # New inputs go to a scratch copy: the committed corpus stays as it is.
    mkdir -p "$travail/$cible"
    if ! "$programme" "${options[@]}" -max_total_time="$duree" -print_final_stats=1 \
            -artifact_prefix="$artefacts/$cible-" "$travail/$cible" "$racine/fuzz/corpus/$cible" \
            >"$travail/fuzz-$cible.txt" 2>&1; then
        tail -n 80 "$travail/fuzz-$cible.txt"
        echec=1
        continue
    fi
    grep -E '^stat::number_of_executed_units|^Done ' "$travail/fuzz-$cible.txt" || true
done
if [ $echec -ne 0 ]; then
    echo "fuzz: failures found; reproducers in $artefacts:"
    ls -l "$artefacts"
    exit 1
fi
echo "fuzz: no failure"
