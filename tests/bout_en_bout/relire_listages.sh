#!/usr/bin/env bash
# Reads back every listing of every end-to-end case: each listing of an
# expected output file, given alone as a data file to a run that lists that
# relation again, must come out byte for byte, with no message and status 0.
# Usage: relire_listages.sh path/to/algrel path/to/cases
set -uo pipefail
export LC_ALL=C
algrel="$(realpath "$1")"
travail="$(mktemp -d)"
trap 'rm -rf "$travail"' EXIT
DEBUT=$'\n\n@relation '

# Checks one listing (it begins with DEBUT); `origine` names it in reports.
relire() {
    local listage="$1" origine="$2" nom
    nom="${listage#"$DEBUT"}"
    nom="${nom%%:*}"
    printf '%s' "$listage" >"$travail/donnees.vorn"
    printf '@print %s:\n' "$nom" >"$travail/commandes.vorn"
    "$algrel" "$travail/donnees.vorn" "$travail/commandes.vorn" "$travail/relue.vorn" \
        >/dev/null 2>"$travail/erreurs"
    local statut=$?
    if [ $statut -ne 0 ] || [ -s "$travail/erreurs" ] ||
        ! cmp -s "$travail/donnees.vorn" "$travail/relue.vorn"; then
        echo "== $origine, relation $nom: status $statut"
        cat "$travail/erreurs"
        diff "$travail/donnees.vorn" "$travail/relue.vorn" | head -10
        return 1
    fi
}

echec=0 nombre=0
for attendu in "$2"/*/attendu.sortie; do
    # The text with its last line end, if any ($(...) would drop it).
    texte="$(cat "$attendu"; printf x)"
    texte="${texte%x}"
    while [ -n "$texte" ]; do
        [ "${texte#"$DEBUT"}" != "$texte" ] || { echo "== $attendu: not a listing"; echec=1; break; }
        reste="${texte#"$DEBUT"}"
        listage="$DEBUT${reste%%"$DEBUT"*}"
        texte="${texte:${#listage}}"
        relire "$listage" "$(basename "$(dirname "$attendu")")" || echec=1
        nombre=$((nombre + 1))
    done
done
echo "$nombre listings read back"
exit $echec
