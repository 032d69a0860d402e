#!/usr/bin/env bash
# Checks the manual page: mandoc finds nothing to warn about, and every
# message of the error catalogue (src/driver/erreurs.cpp) is quoted in it
# exactly, with its code.
# Usage: verifier_manuel.sh doc/algrel.1 src/driver/erreurs.cpp
set -uo pipefail
export LC_ALL=C
manuel="$1"
catalogue="$2"
echec=0
mandoc -T lint -W warning "$manuel" || { echo "== mandoc warns about $manuel"; echec=1; }

# The page as text, on one line, to find messages that it wraps.
rendu="$(mandoc -T utf8 "$manuel" | sed 's/.\x08//g' | tr -s ' \n' '  ')"
# Each "case N: return" of the catalogue with its string literals joined; the
# default message is that of 400.
messages="$(awk '
    /case [0-9]+:/ { match($0, /case [0-9]+/); code = substr($0, RSTART + 5, RLENGTH - 5); texte = "" }
    /default:/ { code = 400; texte = "" }
    code != "" {
        ligne = $0
        while (match(ligne, /"([^"\\]|\\.)*"/)) {
            texte = texte substr(ligne, RSTART + 1, RLENGTH - 2); ligne = substr(ligne, RSTART + RLENGTH)
        }
        if ($0 ~ /;/) { gsub(/\\n/, "", texte); sub(/%d/, code, texte); print texte; code = "" }
    }
' "$catalogue")"
nombre=0
while IFS= read -r message; do
    nombre=$((nombre + 1))
    [[ "$rendu" == *"$message"* ]] || { echo "== not in the manual: $message"; echec=1; }
done <<<"$messages"
[ "$nombre" -ge 16 ] || { echo "== only $nombre messages found in $catalogue"; echec=1; }
echo "$nombre catalogue messages checked"
exit $echec
