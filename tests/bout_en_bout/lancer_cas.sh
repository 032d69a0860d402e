#!/usr/bin/env bash
# Runs one end-to-end case and compares everything the user sees.
# Usage: lancer_cas.sh path/to/algrel path/to/case
#
# A case folder holds:
#   commandes.vorn      the command file
#   donnees.vorn        the data file (optional: then the run has three arguments)
#   arguments           (optional) the arguments, one per line, instead of the above
#   preparer.sh         (optional) run in the work folder before algrel
#   verifier.sh         (optional) run in the work folder after algrel; must succeed
#   attendu.sortie      the expected output file sortie.vorn; when absent,
#                       sortie.vorn must not exist
#   attendu.stdout      the expected standard output, ADRESSE column masked
#   attendu.stderr      the expected standard error
#   attendu.statut      the expected exit status
# The run happens in a copy of the case folder, which is its working folder.
#
# With ALGREL_ENREGISTRER=1 the expected files are written from this run
# instead, for a new case whose results have been checked by hand.
set -uo pipefail
export LC_ALL=C
algrel="$(realpath "$1")"
cas="$(realpath "$2")"
masque="$(realpath "$(dirname "$0")/masquer_adresses.sed")"
export ALGREL="$algrel" # for a verifier.sh that runs algrel again
travail="$(mktemp -d)"
trap 'chmod -R u+rwx "$travail" 2>/dev/null; rm -rf "$travail"' EXIT
cp -R "$cas/." "$travail/"
cd "$travail"

if [ -f preparer.sh ]; then bash preparer.sh || { echo "preparer.sh failed"; exit 1; }; fi
arguments=()
if [ -f arguments ]; then
    mapfile -t arguments < arguments
elif [ -f donnees.vorn ]; then
    arguments=(donnees.vorn commandes.vorn sortie.vorn)
else
    arguments=(commandes.vorn sortie.vorn)
fi

"$algrel" "${arguments[@]}" >obtenu.stdout 2>obtenu.stderr
statut=$?

sed -E -f "$masque" obtenu.stdout >obtenu.masque

if [ "${ALGREL_ENREGISTRER:-0}" = 1 ]; then
    rm -f "$cas"/attendu.*
    cp obtenu.masque "$cas/attendu.stdout"
    cp obtenu.stderr "$cas/attendu.stderr"
    echo "$statut" >"$cas/attendu.statut"
    if [ -f sortie.vorn ]; then cp sortie.vorn "$cas/attendu.sortie"; fi
    exit 0
fi

echec=0
comparer() {
    if ! cmp -s "$1" "$2"; then
        echo "== $3 differs (expected, obtained):"
        diff <(cat -A "$1") <(cat -A "$2") | head -40
        echec=1
    fi
}
comparer attendu.stdout obtenu.masque "standard output"
comparer attendu.stderr obtenu.stderr "standard error"
if [ "$(cat attendu.statut)" != "$statut" ]; then
    echo "== exit status: expected $(cat attendu.statut), obtained $statut"
    echec=1
fi
if [ -f attendu.sortie ]; then
    if [ -f sortie.vorn ]; then comparer attendu.sortie sortie.vorn "output file"
    else echo "== output file sortie.vorn missing"; echec=1; fi
elif [ -e sortie.vorn ]; then
    echo "== output file sortie.vorn should not exist"; echec=1
fi
if [ -f verifier.sh ] && ! bash verifier.sh; then echo "== verifier.sh failed"; echec=1; fi
exit $echec
