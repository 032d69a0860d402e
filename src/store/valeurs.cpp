#include "store/valeurs.h"

#include "driver/erreurs.h"
#include "store/grands_blocs.h"
#include "store/hachage.h"
#include "store/memoire.h"
#include "store/table_ouverte.h"


#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

textes_internes textes;

namespace {

std::string_view texte_stocke(id_valeur id) {
    const char* debut = textes.octets + id;
    return std::string_view(debut + 1, static_cast<unsigned char>(debut[0]));
}

// The id of a text that is an integer of at most 9 digits without a leading
// zero, or ID_ABSENT.
id_valeur id_entier(std::string_view texte) {
    if (texte.empty() || texte.size() > 9 || (texte[0] == '0' && texte.size() > 1))
        return ID_ABSENT;
    uint32_t valeur = 0;
    for (char c : texte) {
        if (c < '0' || c > '9') return ID_ABSENT;
        valeur = valeur * 10 + static_cast<uint32_t>(c - '0');
    }
    return ID_ENTIER | valeur;
}

// A text looked up: its first 8 bytes (zero-padded), 32 bits of its hash.
struct cle_texte {
    std::string_view texte;
    uint64_t debut;
    uint32_t empreinte;
};

// An entry of the set: an interned text's first bytes, id plus one (zero
// marks an empty entry) and hash bits. A text shorter than 8 bytes is known
// by its first bytes alone (texts hold no NUL byte), so that finding it needs
// no access to the stored texts.
struct entree_texte {
    uint64_t debut;
    uint32_t id_plus_un;
    uint32_t empreinte;
    bool vide() const { return id_plus_un == 0; }
    id_valeur id() const { return id_plus_un - 1; }
};

// The memory counted for each interned text's entry: the set at half load.
constexpr size_t MEMOIRE_ENTREE = 32;

bool est_texte(const cle_texte& cle, const entree_texte& entree) {
    return cle.debut == entree.debut &&
           (cle.texte.size() < 8 || cle.texte == texte_stocke(entree.id()));
}

table_ouverte<entree_texte> ids;

// The key of `texte` from its bytes in three words, zero past its end.
cle_texte cle_des_mots(std::string_view texte, const uint64_t (&mots)[3]) {
    uint64_t h = combiner(graine_hachage, mots[0]);
    h = combiner(h, mots[1]);
    h = melanger(combiner(h, mots[2] + texte.size()));
    return cle_texte{texte, mots[0], static_cast<uint32_t>(h >> 32)};
}

cle_texte cle_de(std::string_view texte) {
    uint64_t mots[3] = {0, 0, 0};
    if (!texte.empty()) std::memcpy(mots, texte.data(), texte.size());
    return cle_des_mots(texte, mots);
}

// The same for a text followed by MARGE_LECTURE readable bytes: three whole
// words are read, and the bytes past the text cleared.
cle_texte cle_avec_marge(std::string_view texte) {
    uint64_t mots[3];
    std::memcpy(mots, texte.data(), sizeof mots);
    for (size_t k = 0; k < 3; k++) {
        size_t valides = texte.size() > 8 * k ? texte.size() - 8 * k : 0;
        if (valides < 8) mots[k] &= valides == 0 ? 0 : ~uint64_t{0} >> (64 - 8 * valides);
    }
    return cle_des_mots(texte, mots);
}

// Stores a new text and answers its id, where it starts; the memory is
// counted as it grows, with the set's entry.
id_valeur stocker(std::string_view texte) {
    size_t debut = textes.taille == 0 ? 0 : textes.taille - PLACE_COPIE;
    size_t fin = debut + 1 + texte.size();
    if (fin >= ID_ENTIER) erreur(400);
    if (fin + PLACE_COPIE > textes.capacite) {
        size_t capacite = std::max<size_t>(1 << 16, textes.capacite * 2);
        compter_memoire(capacite - textes.capacite);
        void* agrandi = agrandir_bloc(textes.octets, capacite);
        if (!agrandi) erreur(400);
        textes.octets = static_cast<char*>(agrandi);
        textes.capacite = capacite;
    }
    compter_memoire(MEMOIRE_ENTREE);
    textes.octets[debut] = static_cast<char>(texte.size());
    if (!texte.empty()) std::memcpy(textes.octets + debut + 1, texte.data(), texte.size());
    // The padding that copier_texte may read past the last text.
    std::memset(textes.octets + fin, 0, PLACE_COPIE);
    textes.taille = fin + PLACE_COPIE;
    return static_cast<id_valeur>(debut);
}

id_valeur interner_cle(const cle_texte& cle) {
    if (ids.capacite == 0) reserver_table(ids, 1);
    entree_texte* place =
        chercher_case(ids, cle.empreinte, [&](const entree_texte& e) { return est_texte(cle, e); });
    if (!place->vide()) return place->id();
    id_valeur id = stocker(cle.texte);
    ajouter_dans(ids, place, entree_texte{cle.debut, id + 1, cle.empreinte});
    return id;
}

} // namespace

id_valeur interner_valeur(std::string_view texte) {
    if (texte.size() > MAX_TEXTE_INTERNE) erreur(209);
    id_valeur entier = id_entier(texte);
    return entier != ID_ABSENT ? entier : interner_cle(cle_de(texte));
}

void interner_valeurs(const std::string_view* textes, int32_t nombre, id_valeur* resultat) {
    // The lookups run AVANCE values ahead of the answers so that their memory
    // accesses overlap; integers need no lookup.
    constexpr int32_t AVANCE = 16;
    cle_texte cles[AVANCE];
    auto preparer = [&](int32_t i) {
        if (textes[i].size() > MAX_TEXTE_INTERNE) erreur(209);
        resultat[i] = id_entier(textes[i]);
        if (resultat[i] != ID_ABSENT) return;
        cles[i % AVANCE] = cle_avec_marge(textes[i]);
        precharger_table(ids, cles[i % AVANCE].empreinte);
    };
    for (int32_t i = 0; i < std::min(nombre, AVANCE); i++) preparer(i);
    for (int32_t i = 0; i < nombre; i++) {
        if (resultat[i] == ID_ABSENT) resultat[i] = interner_cle(cles[i % AVANCE]);
        if (i + AVANCE < nombre) preparer(i + AVANCE);
    }
}

id_valeur chercher_valeur(std::string_view texte) {
    if (texte.size() > MAX_TEXTE_INTERNE) return ID_ABSENT;
    id_valeur entier = id_entier(texte);
    if (entier != ID_ABSENT) return entier;
    cle_texte cle = cle_de(texte);
    auto* trouve =
        trouver_entree(ids, cle.empreinte, [&](const entree_texte& e) { return est_texte(cle, e); });
    return trouve ? trouve->id() : ID_ABSENT;
}

void reinitialiser_valeurs() {
    liberer_bloc_agrandi(textes.octets);
    textes.octets = nullptr;
    textes.taille = textes.capacite = 0;
    vider_table(ids);
}
