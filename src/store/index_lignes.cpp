#include "store/index_lignes.h"

#include "store/hachage.h"
#include "store/relation.h"

#include <cstring>

namespace {

// The table's hash from the 32 bits kept in an entry: spread over the word.
size_t etaler(uint32_t empreinte) {
    return static_cast<size_t>(uint64_t{empreinte} * 0x9E3779B97F4A7C15ull);
}

uint32_t empreinte_de(uint64_t entree) {
    return static_cast<uint32_t>(entree >> 32);
}
uint32_t slot_de(uint64_t entree) {
    return static_cast<uint32_t>(entree);
}

bool lignes_egales(const id_valeur* a, const id_valeur* b, int32_t nb_champs) {
    return std::memcmp(a, b, static_cast<size_t>(nb_champs) * sizeof(id_valeur)) == 0;
}

uint64_t entree_de(const relation& rel, uint32_t slot) {
    cle_ligne cle = cle_de(valeurs_slot(rel, slot), rel.nb_champs);
    return uint64_t{cle.empreinte} << 32 | slot;
}

} // namespace

size_t hachage_ligne::operator()(uint64_t entree) const {
    return etaler(empreinte_de(entree));
}
size_t hachage_ligne::operator()(cle_ligne cle) const {
    return etaler(cle.empreinte);
}

bool egalite_ligne::operator()(uint64_t a, uint64_t b) const {
    return a == b || (empreinte_de(a) == empreinte_de(b) &&
                      lignes_egales(valeurs_slot(*rel, slot_de(a)), valeurs_slot(*rel, slot_de(b)),
                                    rel->nb_champs));
}
bool egalite_ligne::operator()(cle_ligne a, uint64_t b) const {
    return a.empreinte == empreinte_de(b) &&
           lignes_egales(a.valeurs, valeurs_slot(*rel, slot_de(b)), rel->nb_champs);
}

cle_ligne cle_de(const id_valeur* valeurs, int32_t nb_champs) {
    return cle_ligne{valeurs, static_cast<uint32_t>(hacher_ids(valeurs, nb_champs))};
}

bool indexer_ligne(relation& rel, uint32_t slot) {
    return rel.index.insert(entree_de(rel, slot)).second;
}

int64_t chercher_ligne(relation& rel, const id_valeur* valeurs) {
    assurer_index(rel);
    auto trouve = rel.index.find(cle_de(valeurs, rel.nb_champs));
    return trouve == rel.index.end() ? 0 : slot_de(*trouve);
}

void precharger_ligne(const relation& rel, const id_valeur* valeurs) {
    rel.index.prefetch(cle_de(valeurs, rel.nb_champs));
}

void reconstruire_index(relation& rel, int64_t fin) {
    rel.index.clear();
    rel.index.reserve(static_cast<size_t>(rel.nb_actifs));
    constexpr int64_t AVANCE = 16;
    for (int64_t slot = 1; slot < fin; slot++) {
        if (slot + AVANCE < fin) precharger_ligne(rel, valeurs_slot(rel, slot + AVANCE));
        if (rel.actifs[slot]) indexer_ligne(rel, static_cast<uint32_t>(slot));
    }
    rel.index_valide = true;
}

void assurer_index(relation& rel) {
    verifier_doublon(rel);
    if (!rel.index_valide) reconstruire_index(rel, nb_slots_stockes(rel));
}

void liberer_index(relation& rel) {
    rel.index = index_lignes(0, hachage_ligne{}, egalite_ligne{&rel});
    rel.index_valide = false;
}
