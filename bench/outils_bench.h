// Shared set-up of the micro-benchmarks: a clean store, the relations of the
// "ops" workload, and the removal of results between two iterations.
#pragma once

#include "alea.h"
#include "driver/execution.h"
#include "store/relation.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A short text formatted like printf (rows and names).
template <typename... Valeurs> std::string texte(const char* format, Valeurs... valeurs) {
    char tampon[96];
    int n = std::snprintf(tampon, sizeof tampon, format, valeurs...);
    return std::string(tampon, static_cast<size_t>(n));
}

// An empty dictionary, every earlier state forgotten.
inline void repartir_a_zero() {
    reinitialiser_interpreteur();
    initialiser_dico();
}

// R(id,g,v): n rows, g among n/10 groups, v in 0..4. S(g,w): one row per
// group. R2(id,g,v): the first half of R and as many new rows.
inline void preparer_operandes(long long n) {
    repartir_a_zero();
    alea hasard;
    long long groupes = n / 10 > 0 ? n / 10 : 1;
    std::vector<std::string> lignes_r;
    lignes_r.reserve(static_cast<size_t>(n));
    for (long long i = 0; i < n; i++)
        lignes_r.push_back(texte("%lld,g%u,%u", i, hasard.borne(groupes), hasard.borne(5)));
    creer_relation("R", "id,g,v");
    for (const std::string& ligne : lignes_r) ajouter_tuple("R", ligne);
    creer_relation("S", "g,w");
    for (long long i = 0; i < groupes; i++)
        ajouter_tuple("S", texte("g%lld,w%u", i, hasard.borne(1000)));
    creer_relation("R2", "id,g,v");
    for (long long i = 0; i < n / 2; i++) ajouter_tuple("R2", lignes_r[static_cast<size_t>(i)]);
    for (long long i = n; i < 2 * n - n / 2; i++)
        ajouter_tuple("R2", texte("%lld,g%u,%u", i, hasard.borne(groupes), hasard.borne(5)));
}

// Forgets the relations registered after the first `garder`, so that the
// next iteration can create its result under the same name again.
inline void oublier_resultats(size_t garder) {
    while (dico->relations.size() > garder) {
        dico->par_nom.erase(dico->entrees.back().nom);
        dico->entrees.pop_back();
        dico->relations.pop_back();
        dico->nb_relations--;
    }
}
