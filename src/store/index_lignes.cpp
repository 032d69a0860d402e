#include "store/index_lignes.h"

#include "store/hachage.h"
#include "store/relation.h"

namespace {

// A row looked up by its values, with its hash.
struct cle_ligne {
    const id_valeur* valeurs;
    uint32_t empreinte;
};

cle_ligne cle_de(const id_valeur* valeurs, int32_t nb_champs) {
    return cle_ligne{valeurs, static_cast<uint32_t>(hacher_ids(valeurs, nb_champs))};
}

// The entry of `cle` in the index of `rel`, or the empty entry where it goes.
entree_ligne* case_de(const relation& rel, index_lignes& index, cle_ligne cle) {
    return chercher_case(index, cle.empreinte, [&](const entree_ligne& entree) {
        return lignes_egales(cle.valeurs, valeurs_slot(rel, entree.slot), rel.nb_champs);
    });
}

// How many rows ahead the lookups are started.
constexpr int64_t AVANCE = 16;

// Runs `traiter(slot, cle)` for the slots `debut` to `fin` of `rel` in
// order, each row's key looked up in `index` (that of `indexee`) in three
// steps: AVANCE rows before, its hash is made and its place in the index
// loaded; AVANCE / 2 rows before, with `candidates`, the row of `indexee`
// it will be compared with first is loaded; then `traiter` looks it up. The
// middle step pays where most rows are found (a lookup of another
// relation's rows), not where most are new (adding rows).
template <bool candidates, typename Traitement>
void parcourir_avec_avance(const relation& rel, const index_lignes& index, const relation& indexee,
                           int64_t debut, int64_t fin, Traitement traiter) {
    cle_ligne cles[AVANCE];
    // The key of a slot in the ring; unsigned, so the place is a mask and
    // not a signed remainder (`debut` is not known to be positive).
    auto cle_du_slot = [&](int64_t slot) -> cle_ligne& {
        return cles[static_cast<uint64_t>(slot) % AVANCE];
    };
    auto preparer = [&](int64_t slot) {
        cle_du_slot(slot) = cle_de(valeurs_slot(rel, slot), rel.nb_champs);
        precharger_table(index, cle_du_slot(slot).empreinte);
    };
    for (int64_t slot = debut; slot < fin && slot < debut + AVANCE; slot++) preparer(slot);
    for (int64_t slot = debut; slot < fin; slot++) {
        int64_t milieu = slot + AVANCE / 2;
        if (candidates && milieu < fin) {
            if (auto* candidate = premiere_candidate(index, cle_du_slot(milieu).empreinte))
                precharger(valeurs_slot(indexee, candidate->slot));
        }
        cle_ligne cle = cle_du_slot(slot);
        if (slot + AVANCE < fin) preparer(slot + AVANCE);
        traiter(slot, cle);
    }
}

} // namespace

void indexer_lignes(relation& rel, int64_t debut, int64_t fin, bool retirer) {
    reserver_table(rel.index, rel.index.nombre + 1);
    parcourir_avec_avance<false>(rel, rel.index, rel, debut, fin, [&](int64_t slot, cle_ligne cle) {
        if (!rel.actifs[slot]) return;
        entree_ligne* place = case_de(rel, rel.index, cle);
        if (place->vide()) {
            ajouter_dans(rel.index, place,
                         entree_ligne{cle.empreinte, static_cast<uint32_t>(slot)});
        } else if (retirer) {
            rel.actifs[slot] = 0;
            rel.nb_actifs--;
        }
    });
}

std::vector<uint32_t> trouver_lignes(const relation& a, relation& b) {
    std::vector<uint32_t> trouves(static_cast<size_t>(nb_slots_stockes(a)), 0);
    assurer_index(b);
    if (b.index.nombre == 0) return trouves;
    parcourir_avec_avance<true>(
        a, b.index, b, 1, nb_slots_stockes(a), [&](int64_t slot, cle_ligne cle) {
            if (!a.actifs[slot]) return;
            trouves[static_cast<size_t>(slot)] = case_de(b, b.index, cle)->slot;
        });
    return trouves;
}

int64_t chercher_ligne(relation& rel, const id_valeur* valeurs) {
    assurer_index(rel);
    if (rel.index.nombre == 0) return 0;
    return case_de(rel, rel.index, cle_de(valeurs, rel.nb_champs))->slot;
}

void reconstruire_index(relation& rel, int64_t fin) {
    vider_table(rel.index);
    reserver_table(rel.index, static_cast<size_t>(rel.nb_actifs));
    indexer_lignes(rel, 1, fin, false);
    rel.index_valide = true;
    rel.garder_index = true;
}

void assurer_index(relation& rel) {
    verifier_doublon(rel);
    if (!rel.index_valide) reconstruire_index(rel, nb_slots_stockes(rel));
}

void liberer_index(relation& rel) {
    vider_table(rel.index);
    rel.index_valide = false;
}
