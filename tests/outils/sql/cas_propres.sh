# Sourced: the end-to-end cases of algrel that end cleanly and run from
# donnees.vorn/commandes.vorn alone, in $cas_propres (an array).
cas_propres=()
for repertoire_cas in "$(dirname "${BASH_SOURCE[0]}")"/../../bout_en_bout/cas/*/; do
    [ "$(cat "$repertoire_cas/attendu.statut")" = 0 ] || continue
    [ -f "$repertoire_cas/commandes.vorn" ] || continue
    [ -e "$repertoire_cas/arguments" ] || [ -e "$repertoire_cas/preparer.sh" ] && continue
    cas_propres+=("${repertoire_cas%/}")
done
