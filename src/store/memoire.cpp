#include "store/memoire.h"

#include "driver/erreurs.h"

#include <unistd.h>

#include <cstdint>

namespace {

size_t limite = 0;
size_t utilise = 0;

size_t limite_par_defaut() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long taille = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || taille <= 0) return SIZE_MAX;
    return static_cast<size_t>(pages) / 4 * 3 * static_cast<size_t>(taille);
}

} // namespace

void compter_memoire(size_t octets) {
    if (limite == 0) limite = limite_par_defaut();
    utilise += octets;
    if (utilise > limite) erreur(400);
}

void fixer_limite_memoire(size_t octets) { limite = octets == 0 ? limite_par_defaut() : octets; }

void remettre_compteur_memoire() { utilise = 0; }
