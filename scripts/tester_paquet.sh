#!/usr/bin/env bash
# Builds the Debian package (Release, in build-paquet), installs it with dpkg,
# checks the installed program, its manual page and its examples, then
# removes it and checks that nothing of it is left. Needs root (or sudo).
# Usage: scripts/tester_paquet.sh
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="$racine/build-paquet"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

"$racine/scripts/installer_dependances.sh" --paquet
installe() { dpkg-query -W -f='${Status}' algrel 2>/dev/null | grep -q "ok installed"; }
if installe; then
    echo "tester_paquet: algrel is installed already; remove it first (dpkg -r algrel)"
    exit 1
fi
cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DALGREL_TESTS=OFF -DALGREL_BENCH=OFF >/dev/null
cmake --build "$construction"
rm -rf "$construction/paquets"
(cd "$construction" && cpack -G DEB -B "$construction/paquets" >/dev/null)
paquet="$(ls "$construction"/paquets/algrel_*.deb)"
echo "== $(basename "$paquet")"
dpkg-deb -f "$paquet" Package Version Maintainer Depends
dpkg-deb -c "$paquet"

travail="$(mktemp -d)"
# Whatever happens, the package does not stay installed.
retirer() { if installe; then $sudo dpkg -r algrel >/dev/null; fi; rm -rf "$travail"; }
trap retirer EXIT
echec=0
verifier() { if ! "$@"; then echo "== failed: $*"; echec=1; fi; }

$sudo dpkg -i "$paquet"
version="$(dpkg-deb -f "$paquet" Version)"
verifier test "$(/usr/bin/algrel --version)" = "algrel $version"
verifier test "$(man -w algrel)" = /usr/share/man/man1/algrel.1.gz
verifier lexgrog /usr/share/man/man1/algrel.1.gz
# The installed program on the installed examples gives what the end-to-end
# case of the same files expects.
cas="$travail/exemple"
mkdir "$cas"
cp "$racine"/tests/bout_en_bout/cas/exemple_employes/attendu.* "$cas/"
printf '%s\n' /usr/share/doc/algrel/examples/employes-donnees.vorn \
    /usr/share/doc/algrel/examples/employes-commandes.vorn sortie.vorn >"$cas/arguments"
verifier bash "$racine/tests/bout_en_bout/lancer_cas.sh" /usr/bin/algrel "$cas"
# The companions run on the same examples: a trace, a program checked against
# itself, a script.
exemples=(/usr/share/doc/algrel/examples/employes-donnees.vorn
          /usr/share/doc/algrel/examples/employes-commandes.vorn)
verifier sh -c '/usr/bin/algrel-trace "$@" | grep -q "^Dictionnaire : 9 relations$"' _ "${exemples[@]}"
verifier /usr/bin/algrel-corriger "${exemples[@]}" "${exemples[1]}" >/dev/null
verifier sh -c '/usr/bin/algrel-sql "$@" | grep -q "^-- @print AUTRES$"' _ "${exemples[@]}"

$sudo dpkg -r algrel
for programme in algrel algrel-trace algrel-corriger algrel-sql; do
    verifier test ! -e "/usr/bin/$programme"
done
verifier test ! -e /usr/share/man/man1/algrel.1.gz
verifier test ! -e /usr/share/doc/algrel
verifier test -z "$(installe && echo installed)"
[ $echec -eq 0 ] && echo "tester_paquet: the package installs, runs and removes cleanly"
exit $echec
