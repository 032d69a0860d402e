#!/usr/bin/env bash
# Runs the examples of a document and compares what algrel gives with what the
# document shows, so that the documentation cannot drift from the program.
# Usage: lancer_exemples.sh path/to/algrel README.md | doc/algrel.1
#
# An example is a set of blocks that share a name. Each block is announced by
# a marker on the line before it:
#   Markdown  <!-- exemple NOM PIECE -->   before a ``` block
#   roff      .\" exemple NOM PIECE        before an .EX ... .EE block
# PIECE is one of: donnees (the data file), commandes (the command file),
# sortie (the output file, its last line without a line end), stdout (the
# standard output, the ADRESSE column compared masked), stderr (standard
# error; the run must then end with status 1, otherwise with 0). An example
# needs a commandes block; the others are compared when they are shown.
set -uo pipefail
export LC_ALL=C
algrel="$(realpath "$1")"
document="$(realpath "$2")"
masque="$(realpath "$(dirname "$0")/../bout_en_bout/masquer_adresses.sed")"
travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT

# Writes each block to $travail/NOM/PIECE, its lines as shown, each ended by a
# line end. In roff, request lines inside a block are skipped and the escapes
# for a minus, a backslash, a double quote and the empty mark are undone.
case "$document" in
*.md) ouvre='^```'; ferme='^```$'; marque='^<!-- exemple [^ ]+ [a-z]+ -->$' ;;
*) ouvre='^\.EX$'; ferme='^\.EE$'; marque='^\.\\" exemple [^ ]+ [a-z]+$' ;;
esac
# The patterns reach awk through the environment, which keeps their backslashes.
export ouvre ferme marque
awk -v dossier="$travail" -v roff="$([ "${document##*.}" = md ] && echo 0 || echo 1)" '
    BEGIN { ouvre = ENVIRON["ouvre"]; ferme = ENVIRON["ferme"]; marque = ENVIRON["marque"] }
    dans && $0 ~ ferme { dans = 0; close(fichier); next }
    dans && roff && /^\./ { next }
    dans {
        ligne = $0
        if (roff) {
            gsub(/\\&/, "", ligne); gsub(/\\-/, "-", ligne); gsub(/\\\(dq/, "\"", ligne)
            gsub(/\\e/, "\\", ligne)
        }
        print ligne > fichier; next
    }
    attendu && $0 ~ ouvre { dans = 1; attendu = 0; next }
    $0 ~ marque {
        sub(/ -->$/, ""); n = split($0, mots, " ")
        system("mkdir -p \"" dossier "/" mots[n - 1] "\"")
        fichier = dossier "/" mots[n - 1] "/" mots[n]; printf "" > fichier
        attendu = 1; next
    }
' "$document"

# Compares $1, what the document shows, with $2, what the run gave ($3 says which).
comparer() {
    cmp -s "$1" "$2" || { echo "== example $nom: $3 differs (shown, obtained):"
                          diff "$1" "$2" | head -20; echec=1; }
}

echec=0 nombre=0
for exemple in "$travail"/*/; do
    [ -d "$exemple" ] || continue
    nom="$(basename "$exemple")"
    cd "$exemple" || exit 1
    nombre=$((nombre + 1))
    [ -f commandes ] || { echo "== example $nom: no commandes block"; echec=1; continue; }
    cp commandes commandes.vorn
    arguments=(commandes.vorn sortie.vorn)
    if [ -f donnees ]; then cp donnees donnees.vorn; arguments=(donnees.vorn "${arguments[@]}"); fi
    "$algrel" "${arguments[@]}" >obtenu.stdout 2>obtenu.stderr
    statut=$?
    attendu=0
    if [ -f stderr ]; then attendu=1; comparer stderr obtenu.stderr "standard error"
    else comparer /dev/null obtenu.stderr "standard error"; fi
    [ "$statut" = "$attendu" ] || { echo "== example $nom: exit status $statut, $attendu expected"; echec=1; }
    if [ -f stdout ]; then
        sed -E -f "$masque" stdout >montre.masque
        sed -E -f "$masque" obtenu.stdout >obtenu.masque
        comparer montre.masque obtenu.masque "standard output"
    fi
    if [ -f sortie ]; then
        head -c -1 sortie >montre.sortie
        comparer montre.sortie sortie.vorn "output file"
    fi
done
echo "$nombre examples run from $(basename "$document")"
[ "$nombre" -gt 0 ] || { echo "no example found"; exit 1; }
exit $echec
