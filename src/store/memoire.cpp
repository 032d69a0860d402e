#include "store/memoire.h"

#include "driver/erreurs.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>

namespace {

size_t limite = 0;
size_t utilise = 0;

// A limit read from a control-group file ("max" or unreadable: none).
size_t limite_groupe(const char* chemin) {
    std::ifstream fichier(chemin);
    std::string texte;
    if (!(fichier >> texte) || texte.empty() || texte.find_first_not_of("0123456789") != texte.npos)
        return SIZE_MAX;
    return std::stoull(texte);
}

size_t limite_ressource(int ressource) {
    struct rlimit valeur;
    if (getrlimit(ressource, &valeur) != 0 || valeur.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
    return static_cast<size_t>(valeur.rlim_cur);
}

// Three quarters of the least of: the physical memory, the memory that the
// process's control group and its resource limits allow.
size_t limite_par_defaut() {
    size_t disponible = SIZE_MAX;
    long pages = sysconf(_SC_PHYS_PAGES);
    long taille = sysconf(_SC_PAGESIZE);
    if (pages > 0 && taille > 0)
        disponible = static_cast<size_t>(pages) * static_cast<size_t>(taille);
    disponible = std::min({disponible, limite_groupe("/sys/fs/cgroup/memory.max"),
                           limite_groupe("/sys/fs/cgroup/memory/memory.limit_in_bytes"),
                           limite_ressource(RLIMIT_AS), limite_ressource(RLIMIT_DATA)});
    return disponible == SIZE_MAX ? SIZE_MAX : disponible / 4 * 3;
}

} // namespace

bool essayer_memoire(size_t octets) {
    if (limite == 0) limite = limite_par_defaut();
    if (octets > limite - std::min(utilise, limite)) return false;
    utilise += octets;
    return true;
}

void compter_memoire(size_t octets) {
    if (!essayer_memoire(octets)) erreur(400);
}

void decompter_memoire(size_t octets) { utilise -= std::min(octets, utilise); }

void fixer_limite_memoire(size_t octets) { limite = octets == 0 ? limite_par_defaut() : octets; }

void remettre_compteur_memoire() { utilise = 0; }
