#include "store/valeurs.h"

#include "store/memoire.h"

#include <absl/container/flat_hash_map.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr size_t TAILLE_BLOC = 1 << 16;

// Texts live in large blocks that never move, so the views held by the map and
// by `textes` stay valid for the whole run.
struct pool_valeurs {
    std::vector<std::unique_ptr<char[]>> blocs;
    char* libre = nullptr;
    size_t reste = 0;
    std::vector<std::string_view> textes;
    absl::flat_hash_map<std::string_view, id_valeur> ids;
};

pool_valeurs pool;

std::string_view copier_dans_bloc(std::string_view texte) {
    if (texte.size() > pool.reste) {
        size_t taille = texte.size() > TAILLE_BLOC ? texte.size() : TAILLE_BLOC;
        compter_memoire(taille);
        pool.blocs.push_back(std::make_unique<char[]>(taille));
        pool.libre = pool.blocs.back().get();
        pool.reste = taille;
    }
    if (!texte.empty()) std::memcpy(pool.libre, texte.data(), texte.size());
    std::string_view copie(pool.libre, texte.size());
    pool.libre += texte.size();
    pool.reste -= texte.size();
    return copie;
}

} // namespace

id_valeur interner_valeur(std::string_view texte) {
    auto trouve = pool.ids.find(texte);
    if (trouve != pool.ids.end()) return trouve->second;
    std::string_view copie = copier_dans_bloc(texte);
    id_valeur id = static_cast<id_valeur>(pool.textes.size());
    pool.textes.push_back(copie);
    pool.ids.emplace(copie, id);
    return id;
}

id_valeur chercher_valeur(std::string_view texte) {
    auto trouve = pool.ids.find(texte);
    return trouve == pool.ids.end() ? ID_ABSENT : trouve->second;
}

std::string_view texte_valeur(id_valeur id) { return pool.textes[id]; }

void reinitialiser_valeurs() { pool = pool_valeurs{}; }
