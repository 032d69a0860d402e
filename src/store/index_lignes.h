// The hash set of a relation's live rows, through which a repeated row is
// found without scanning the earlier ones. It holds slot numbers with their
// rows' hashes (8 bytes a row). Rows are added and looked up in runs, the set
// sized for a run beforehand and each lookup started a few rows ahead of its
// answer, so that the memory accesses of the set overlap.
#pragma once

#include "store/table_ouverte.h"
#include "store/valeurs.h"

#include <cstdint>
#include <vector>

struct relation;

// An entry of the index: a live row's slot (slot 0 holds no row, so zero
// marks an empty entry) and its hash, kept so that growing reads no row.
struct entree_ligne {
    uint32_t empreinte;
    uint32_t slot;
    bool vide() const { return slot == 0; }
};

using index_lignes = table_ouverte<entree_ligne>;

// Whether two rows of `nb_champs` ids are equal.
inline bool lignes_egales(const id_valeur* a, const id_valeur* b, int32_t nb_champs) {
    for (int32_t i = 0; i < nb_champs; i++)
        if (a[i] != b[i]) return false;
    return true;
}

// Adds the live slots `debut` to `fin` (excluded) of `rel` to its index, in
// slot order; with `retirer`, each one repeating a row already there is
// retired instead.
void indexer_lignes(relation& rel, int64_t debut, int64_t fin, bool retirer);

// For each slot of `a`, the slot of `b` holding the same live row, or 0
// (retired slots of `a` answer 0). The two relations have as many attributes.
std::vector<uint32_t> trouver_lignes(const relation& a, relation& b);

// The slot of the live row of `rel` equal to `valeurs` (as many values as
// `rel` has attributes), or 0.
int64_t chercher_ligne(relation& rel, const id_valeur* valeurs);

// Makes the index hold exactly the live slots before `fin`.
void reconstruire_index(relation& rel, int64_t fin);

// Makes `rel.index` hold exactly the live rows (waiting rows settled first).
void assurer_index(relation& rel);

// Frees the row index of `rel` (rebuilt when next needed).
void liberer_index(relation& rel);
