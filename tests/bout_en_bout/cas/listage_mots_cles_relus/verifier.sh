# Every listing reads back as input: a second run takes the output as its data
# file and lists the same relations again, byte for byte, with no message.
set -uo pipefail
printf '@print MOTS:\n@print COPIE:\n@print PAIRES:\n' >relecture.vorn
"$ALGREL" sortie.vorn relecture.vorn relue.vorn >/dev/null 2>relue.stderr
statut=$?
echec=0
[ "$statut" -eq 0 ] || { echo "second run: exit status $statut"; echec=1; }
[ ! -s relue.stderr ] || { echo "second run: standard error:"; cat relue.stderr; echec=1; }
cmp -s sortie.vorn relue.vorn || { echo "second run: the listing differs:"; diff sortie.vorn relue.vorn | head -20; echec=1; }
exit $echec
