# algrel reports the same errors, byte for byte, with the same status.
d="$(mktemp -d)"; trap 'rm -rf "$d"' EXIT
mapfile -t fichiers < <(grep '\.vorn$' arguments)
"$ALGREL" "${fichiers[@]}" "$d/sortie.vorn" >/dev/null 2>"$d/erreurs"
statut=$?
cmp -s "$d/erreurs" obtenu.stderr && [ "$statut" = "$(cat attendu.statut)" ]
