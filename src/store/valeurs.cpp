#include "store/valeurs.h"

#include "driver/erreurs.h"
#include "store/hachage.h"
#include "store/memoire.h"

#include <absl/container/flat_hash_map.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A value or name of at most 19 bytes held inline: the bytes, zero padding,
// and the length in the last byte, so that equality is three word compares
// and no text is ever reached through a pointer.
struct texte_court {
    uint64_t mots[3];

    explicit texte_court(std::string_view texte) : mots{0, 0, 0} {
        std::memcpy(mots, texte.data(), texte.size());
        reinterpret_cast<unsigned char*>(mots)[23] = static_cast<unsigned char>(texte.size());
    }
    std::string_view vue() const {
        const char* octets = reinterpret_cast<const char*>(mots);
        return std::string_view(octets, static_cast<unsigned char>(octets[23]));
    }
    bool operator==(const texte_court& autre) const {
        return mots[0] == autre.mots[0] && mots[1] == autre.mots[1] && mots[2] == autre.mots[2];
    }
};
static_assert(sizeof(texte_court) == 24 && MAX_TEXTE_INTERNE < 24);

struct hachage_texte {
    size_t operator()(const texte_court& t) const {
        return melanger(t.mots[0] * 0x9E3779B97F4A7C15ull ^ t.mots[1] * 0xC2B2AE3D27D4EB4Full ^
                        t.mots[2] * 0x165667B19E3779F9ull);
    }
};

struct pool_valeurs {
    std::vector<texte_court> textes; // by id
    absl::flat_hash_map<texte_court, id_valeur, hachage_texte> ids;
};

pool_valeurs pool;

// Counts the memory of one more text, by whole steps of the vector's growth.
void compter_croissance() {
    if (pool.textes.size() == pool.textes.capacity()) {
        size_t ajout = pool.textes.empty() ? 1024 : pool.textes.capacity();
        compter_memoire(ajout * (sizeof(texte_court) + sizeof(texte_court) + 8));
    }
}

id_valeur interner_cle(const texte_court& cle) {
    auto [place, nouveau] = pool.ids.try_emplace(cle, static_cast<id_valeur>(pool.textes.size()));
    if (nouveau) {
        compter_croissance();
        pool.textes.push_back(cle);
    }
    return place->second;
}

} // namespace

id_valeur interner_valeur(std::string_view texte) {
    if (texte.size() > MAX_TEXTE_INTERNE) erreur(209);
    return interner_cle(texte_court(texte));
}

void interner_valeurs(const std::string_view* textes, int32_t nombre, id_valeur* ids) {
    constexpr int32_t LOT = 8;
    texte_court cles[LOT] = {texte_court({}), texte_court({}), texte_court({}), texte_court({}),
                             texte_court({}), texte_court({}), texte_court({}), texte_court({})};
    for (int32_t debut = 0; debut < nombre; debut += LOT) {
        int32_t fin = std::min(nombre, debut + LOT);
        for (int32_t i = debut; i < fin; i++) {
            if (textes[i].size() > MAX_TEXTE_INTERNE) erreur(209);
            cles[i - debut] = texte_court(textes[i]);
            pool.ids.prefetch(cles[i - debut]);
        }
        for (int32_t i = debut; i < fin; i++) ids[i] = interner_cle(cles[i - debut]);
    }
}

id_valeur chercher_valeur(std::string_view texte) {
    if (texte.size() > MAX_TEXTE_INTERNE) return ID_ABSENT;
    auto trouve = pool.ids.find(texte_court(texte));
    return trouve == pool.ids.end() ? ID_ABSENT : trouve->second;
}

std::string_view texte_valeur(id_valeur id) { return pool.textes[id].vue(); }

void reinitialiser_valeurs() { pool = pool_valeurs{}; }
