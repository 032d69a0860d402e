#!/usr/bin/env bash
# Writes the expected files of a case from what algrel does now, for a new
# case whose results have been checked by hand. Usage:
#   enregistrer_attendu.sh path/to/algrel path/to/case
set -uo pipefail
export LC_ALL=C
algrel="$(realpath "$1")"
cas="$(realpath "$2")"
travail="$(mktemp -d)"
trap 'chmod -R u+rwx "$travail" 2>/dev/null; rm -rf "$travail"' EXIT
cp -R "$cas/." "$travail/"
rm -f "$travail"/attendu.*
cd "$travail"
if [ -f preparer.sh ]; then bash preparer.sh; fi
arguments=()
if [ -f arguments ]; then mapfile -t arguments < arguments
elif [ -f donnees.vorn ]; then arguments=(donnees.vorn commandes.vorn sortie.vorn)
else arguments=(commandes.vorn sortie.vorn); fi
"$algrel" "${arguments[@]}" >obtenu.stdout 2>"$cas/attendu.stderr"
echo $? >"$cas/attendu.statut"
sed -E '/^\t NOM\t/,$ s/^(.{20}) *-?[0-9]+(     [1-8] *[0-9]+ *[0-9]+)$/\1@ADRESSE@@\2/' obtenu.stdout >"$cas/attendu.stdout"
rm -f "$cas/attendu.sortie"
if [ -f sortie.vorn ]; then cp sortie.vorn "$cas/attendu.sortie"; fi
