// The hash set of a relation's live rows, through which a repeated row is
// found without scanning the earlier ones. It holds slot numbers only (4 bytes
// a row); a row's hash is computed from its values when needed. Rows are
// added and looked up in runs, the set sized for a run beforehand (growing
// it reads the rows again) and each lookup started a few rows ahead of its
// answer, so that the memory accesses of the set overlap.
#pragma once

#include "store/grands_blocs.h"
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
    const relation* rel = nullptr;
    size_t operator()(uint32_t slot) const;
    size_t operator()(cle_ligne cle) const;
};
struct egalite_ligne {
    using is_transparent = void;
    const relation* rel = nullptr;
    bool operator()(uint32_t a, uint32_t b) const;
    bool operator()(cle_ligne a, uint32_t b) const;
    bool operator()(uint32_t a, cle_ligne b) const { return (*this)(b, a); }
};

using index_lignes =
    absl::flat_hash_set<uint32_t, hachage_ligne, egalite_ligne, allocateur_grand<uint32_t>>;

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
