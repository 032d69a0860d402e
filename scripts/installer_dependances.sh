#!/usr/bin/env bash
# Installs the Debian packages that building and testing algrel need, when
# some are missing. Usage: scripts/installer_dependances.sh [--tests | --paquet]
set -euo pipefail

paquets=(cmake ninja-build g++ libabsl-dev)
case "${1:-}" in
--tests) paquets+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev mandoc sqlite3) ;;
--paquet) paquets+=(dpkg-dev man-db) ;; # dpkg-shlibdeps for cpack, man and lexgrog
esac

manquants=()
for paquet in "${paquets[@]}"; do
    dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q "install ok installed" ||
        manquants+=("$paquet")
done
[ ${#manquants[@]} -eq 0 ] && exit 0

echo "Installing: ${manquants[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y "${manquants[@]}" || {
    $sudo apt-get update && $sudo apt-get install -y "${manquants[@]}"
}
