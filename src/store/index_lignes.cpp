#include "store/index_lignes.h"

#include "store/hachage.h"
#include "store/relation.h"

namespace {

// The table's hash from a row's 32-bit hash: spread over the word.
size_t etaler(uint32_t empreinte) {
    return static_cast<size_t>(uint64_t{empreinte} * 0x9E3779B97F4A7C15ull);
}

bool lignes_egales(const id_valeur* a, const id_valeur* b, int32_t nb_champs) {
    for (int32_t i = 0; i < nb_champs; i++)
        if (a[i] != b[i]) return false;
    return true;
}

cle_ligne cle_de(const id_valeur* valeurs, int32_t nb_champs) {
    return cle_ligne{valeurs, static_cast<uint32_t>(hacher_ids(valeurs, nb_champs))};
}

// How many rows ahead the lookups are started.
constexpr int64_t AVANCE = 16;

// Runs `traiter(slot, cle)` for the slots `debut` to `fin` of `rel` in
// order, with each row's key looked up AVANCE rows before in `index`.
template <typename Traitement>
void parcourir_avec_avance(const relation& rel, const index_lignes& index, int64_t debut,
                           int64_t fin, Traitement traiter) {
    cle_ligne cles[AVANCE];
    auto preparer = [&](int64_t slot) {
        cles[slot % AVANCE] = cle_de(valeurs_slot(rel, slot), rel.nb_champs);
        index.prefetch(cles[slot % AVANCE]);
    };
    for (int64_t slot = debut; slot < fin && slot < debut + AVANCE; slot++) preparer(slot);
    for (int64_t slot = debut; slot < fin; slot++) {
        cle_ligne cle = cles[slot % AVANCE];
        if (slot + AVANCE < fin) preparer(slot + AVANCE);
        traiter(slot, cle);
    }
}

} // namespace

size_t hachage_ligne::operator()(uint32_t slot) const {
    return etaler(cle_de(valeurs_slot(*rel, slot), rel->nb_champs).empreinte);
}
size_t hachage_ligne::operator()(cle_ligne cle) const { return etaler(cle.empreinte); }

bool egalite_ligne::operator()(uint32_t a, uint32_t b) const {
    return a == b || lignes_egales(valeurs_slot(*rel, a), valeurs_slot(*rel, b), rel->nb_champs);
}
bool egalite_ligne::operator()(cle_ligne a, uint32_t b) const {
    return lignes_egales(a.valeurs, valeurs_slot(*rel, b), rel->nb_champs);
}

void indexer_lignes(relation& rel, int64_t debut, int64_t fin, bool retirer) {
    parcourir_avec_avance(rel, rel.index, debut, fin, [&](int64_t slot, cle_ligne cle) {
        if (!rel.actifs[slot]) return;
        uint32_t ajoute = static_cast<uint32_t>(slot);
        auto place =
            rel.index.lazy_emplace(cle, [&](const auto& construire) { construire(ajoute); });
        if (*place != ajoute && retirer) {
            rel.actifs[slot] = 0;
            rel.nb_actifs--;
        }
    });
}

std::vector<uint32_t> trouver_lignes(const relation& a, relation& b) {
    std::vector<uint32_t> trouves(static_cast<size_t>(nb_slots_stockes(a)), 0);
    assurer_index(b);
    parcourir_avec_avance(a, b.index, 1, nb_slots_stockes(a), [&](int64_t slot, cle_ligne cle) {
        if (!a.actifs[slot]) return;
        auto trouve = b.index.find(cle);
        if (trouve != b.index.end()) trouves[static_cast<size_t>(slot)] = *trouve;
    });
    return trouves;
}

int64_t chercher_ligne(relation& rel, const id_valeur* valeurs) {
    assurer_index(rel);
    auto trouve = rel.index.find(cle_de(valeurs, rel.nb_champs));
    return trouve == rel.index.end() ? 0 : *trouve;
}

void reconstruire_index(relation& rel, int64_t fin) {
    rel.index.clear();
    rel.index.reserve(static_cast<size_t>(rel.nb_actifs));
    indexer_lignes(rel, 1, fin, false);
    rel.index_valide = true;
}

void assurer_index(relation& rel) {
    verifier_doublon(rel);
    if (!rel.index_valide) reconstruire_index(rel, nb_slots_stockes(rel));
}

void liberer_index(relation& rel) {
    rel.index = index_lignes(0, hachage_ligne{&rel}, egalite_ligne{&rel});
    rel.index_valide = false;
}
