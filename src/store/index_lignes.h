// The hash set of a relation's live rows, through which a repeated row is
// found without scanning the earlier ones. It holds slot numbers, each beside
// 32 bits of its row's hash, so that growing the set never reads the rows.
// Rows are added and looked up in runs, a few rows ahead of the answers, so
// that the memory accesses of the set overlap.
#pragma once

#include "store/valeurs.h"

#include <absl/container/flat_hash_set.h>

#include <cstdint>
#include <vector>

struct relation;

// A row looked up by its values, with its hash.
struct cle_ligne {
    const id_valeur* valeurs;
    uint32_t empreinte;
};

struct hachage_ligne {
    using is_transparent = void;
    size_t operator()(uint64_t entree) const;
    size_t operator()(cle_ligne cle) const;
};
struct egalite_ligne {
    using is_transparent = void;
    const relation* rel = nullptr;
    bool operator()(uint64_t a, uint64_t b) const;
    bool operator()(cle_ligne a, uint64_t b) const;
    bool operator()(uint64_t a, cle_ligne b) const { return (*this)(b, a); }
};

// Entries: the row's 32-bit hash in the high half, its slot in the low half.
using index_lignes = absl::flat_hash_set<uint64_t, hachage_ligne, egalite_ligne>;

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
