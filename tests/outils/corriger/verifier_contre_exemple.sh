# Run in the work folder of a counter-example case (see lancer_cas_outil.sh).
# The counter-example written must make the two programs differ, and be
# 1-minimal: without any one of its @data lines they agree. Both programs
# are run by the real algrel; their outputs are compared by algrel-corriger.
set -u
accord() { # data file -> status of algrel-corriger --sorties on both outputs
    local d; d="$(mktemp -d)"
    "$ALGREL" "$1" reference.vorn "$d/a.vorn" >/dev/null 2>&1
    "$ALGREL" "$1" reponse.vorn "$d/b.vorn" >/dev/null 2>&1
    "$PROGRAMME" --sorties "$d/a.vorn" "$d/b.vorn" >/dev/null 2>&1
    local s=$?; rm -rf "$d"; return $s
}
[ -f ce.vorn ] || { echo "ce.vorn not written"; exit 1; }
if accord ce.vorn; then echo "the two programs agree on ce.vorn"; exit 1; fi
n="$(wc -l <ce.vorn)"
for i in $(seq 1 "$n"); do
    grep -q '^@data' <(sed -n "${i}p" ce.vorn) || continue
    sed "${i}d" ce.vorn >sans.vorn
    if ! accord sans.vorn; then echo "ce.vorn is not 1-minimal: line $i can go"; exit 1; fi
done
rm -f sans.vorn
