# The output file is valid input: a second run reads it back as its data file
# and lists every relation again, in the same order. The relations come back
# with the same rows, so the second listing is the first, byte for byte, and
# no row is a repeat any more (the summary's counts).
set -uo pipefail

# The program under test: ALGREL when the runner exports it, otherwise the
# argument that follows the runner script on the runner's command line.
algrel="${ALGREL:-}"
if [ -z "$algrel" ]; then
    mapfile -d '' -t ligne_runner </proc/$PPID/cmdline
    for i in "${!ligne_runner[@]}"; do
        case "${ligne_runner[$i]}" in
        */lancer_cas.sh | lancer_cas.sh) algrel="${ligne_runner[$((i + 1))]:-}"; break ;;
        esac
    done
    # A relative path was written in the folder from which the runner started.
    if [ -n "$algrel" ] && [ "${algrel#/}" = "$algrel" ]; then
        origine="$(awk '/^PPid:/ { print $2 }' /proc/$PPID/status)"
        algrel="$(readlink -f "/proc/$origine/cwd")/$algrel"
    fi
fi
[ -x "$algrel" ] || { echo "verifier.sh: algrel not found (set ALGREL)"; exit 1; }

"$algrel" sortie.vorn relecture.vorn relue.vorn >relue.stdout 2>relue.stderr
statut=$?
sed -E '/^\t NOM\t/,$ s/^(.{20}) +[0-9]{1,9}(     [1-8] *[0-9]+ *[0-9]+)$/\1@ADRESSE@@\2/' \
    relue.stdout >relue.masque
echec=0
[ "$statut" -eq 0 ] || { echo "second run: exit status $statut"; echec=1; }
[ ! -s relue.stderr ] || { echo "second run: standard error:"; cat relue.stderr; echec=1; }
cmp -s sortie.vorn relue.vorn || { echo "second run: the listing differs:"; diff sortie.vorn relue.vorn | head -20; echec=1; }
cmp -s relecture.attendu.stdout relue.masque ||
    { echo "second run: standard output differs:"; diff relecture.attendu.stdout relue.masque | head -20; echec=1; }
exit $echec
