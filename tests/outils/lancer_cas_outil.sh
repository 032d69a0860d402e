#!/usr/bin/env bash
# Runs one end-to-end case of a companion program and compares everything the
# user sees. Usage: lancer_cas_outil.sh path/to/program path/to/case
#
# A case folder holds:
#   arguments        the program's arguments, one per line (paths relative to
#                    the case folder, which is the working folder)
#   *.vorn, ...      the files the arguments name
#   preparer.sh      (optional) run in the work folder before the program
#   verifier.sh      (optional) run in the work folder after it; must succeed
#   crees            (optional) the files the run may create, one per line;
#                    any other file created, changed or removed fails the case
#   attendu.stdout   the expected standard output
#   attendu.stderr   the expected standard error
#   attendu.statut   the expected exit status
# With ALGREL_ENREGISTRER=1 the expected files are written from this run.
set -uo pipefail
export LC_ALL=C
programme="$(realpath "$1")"
cas="$(realpath "$2")"
export PROGRAMME="$programme"
# Scripts shared by the cases, for their verifier.sh.
export TESTS_OUTILS="$(cd "$(dirname "$0")" && pwd)"
travail="$(mktemp -d)"
trap 'chmod -R u+rwx "$travail" 2>/dev/null; rm -rf "$travail"' EXIT
cp -R "$cas/." "$travail/"
cd "$travail"
if [ -f preparer.sh ]; then bash preparer.sh || { echo "preparer.sh failed"; exit 1; }; fi

# What the folder holds before the run, to tell any file the run touched.
etat() { find . -path ./obtenu.stdout -prune -o -path ./obtenu.stderr -prune -o -type f -print0 |
         sort -z | xargs -0 -r sha1sum; }
avant="$(etat)"
arguments=()
[ -f arguments ] && mapfile -t arguments < arguments
"$programme" "${arguments[@]}" >obtenu.stdout 2>obtenu.stderr </dev/null
statut=$?
apres="$(etat)"

if [ "${ALGREL_ENREGISTRER:-0}" = 1 ]; then
    cp obtenu.stdout "$cas/attendu.stdout"
    cp obtenu.stderr "$cas/attendu.stderr"
    echo "$statut" >"$cas/attendu.statut"
    exit 0
fi

echec=0
comparer() {
    if ! cmp -s "$1" "$2"; then
        echo "== $3 differs (expected, obtained):"
        diff <(cat -A "$1") <(cat -A "$2") | head -60
        echec=1
    fi
}
comparer attendu.stdout obtenu.stdout "standard output"
comparer attendu.stderr obtenu.stderr "standard error"
if [ "$(cat attendu.statut)" != "$statut" ]; then
    echo "== exit status: expected $(cat attendu.statut), obtained $statut"
    echec=1
fi
# Files touched by the run, less those it may create.
touches="$(diff <(echo "$avant") <(echo "$apres") | sed -nE 's/^[<>] [0-9a-f]+  \.\///p' | sort -u)"
permis=""
[ -f crees ] && permis="$(sort -u crees)"
inattendus="$(comm -23 <(echo "$touches" | sed '/^$/d') <(echo "$permis" | sed '/^$/d'))"
if [ -n "$inattendus" ]; then
    echo "== files created or changed by the run:"; echo "$inattendus"; echec=1
fi
if [ -f verifier.sh ] && ! bash verifier.sh; then echo "== verifier.sh failed"; echec=1; fi
exit $echec
