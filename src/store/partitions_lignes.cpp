#include "store/partitions_lignes.h"

#include "store/grands_blocs.h"
#include "store/hachage.h"
#include "store/memoire.h"
#include "store/relation.h"
#include "store/table_ouverte.h"

#include <algorithm>
#include <new>

namespace {

// About as many rows in each partition: its entries and its set then fit
// in the second-level cache, and the rows it reads stay in cache between
// their comparisons. At most 2^BITS_MAX partitions, so that the pass that
// scatters the rows writes to few enough places at once.
constexpr int64_t LIGNES_PAR_PARTITION = 4096;
constexpr int BITS_MAX = 10;

// How many entries ahead the rows are loaded.
constexpr size_t AVANCE = 16;

int bits_pour(int64_t lignes) {
    int bits = 0;
    while (bits < BITS_MAX && (lignes >> bits) > LIGNES_PAR_PARTITION) bits++;
    return bits;
}

uint64_t hachage_slot(const relation& rel, int64_t slot) {
    return hacher_ids(valeurs_slot(rel, slot), rel.nb_champs);
}

// The partition of a row: the high bits of its hash, which the sets within a
// partition do not use (they place an entry by its low 32 bits).
size_t partition_de(uint64_t hachage, int bits) {
    return bits == 0 ? 0 : static_cast<size_t>(hachage >> (64 - bits));
}

// The live slots of a relation grouped by partition, in slot order within
// each: partition p is entrees[debuts[p]] to entrees[debuts[p + 1]].
struct partitions {
    entree_ligne* entrees = nullptr; // a block of allouer_bloc, in huge pages when large
    std::vector<size_t> debuts;
    size_t octets = 0; // counted in the memory ceiling while held
    partitions() = default;
    partitions(const partitions&) = delete;
    partitions& operator=(const partitions&) = delete;
    ~partitions() {
        if (entrees) liberer_bloc(entrees, octets);
        decompter_memoire(octets);
    }
};

// Groups the live slots 1 to `fin` (excluded) of `rel` into 2^bits
// partitions: one pass counts them, the other places them (each row's hash
// is made twice, which costs less than keeping it). False when the memory is
// refused.
bool partitionner(const relation& rel, int64_t fin, int bits, partitions& parts) {
    size_t nombre = size_t{1} << bits;
    parts.debuts.assign(nombre + 1, 0);
    for (int64_t slot = 1; slot < fin; slot++)
        if (rel.actifs[slot]) parts.debuts[partition_de(hachage_slot(rel, slot), bits) + 1]++;
    for (size_t p = 0; p < nombre; p++) parts.debuts[p + 1] += parts.debuts[p];
    size_t octets = std::max<size_t>(1, parts.debuts[nombre]) * sizeof(entree_ligne);
    if (!essayer_memoire(octets)) return false;
    try {
        parts.entrees = static_cast<entree_ligne*>(allouer_bloc(octets));
    } catch (const std::bad_alloc&) {
        decompter_memoire(octets);
        return false;
    }
    parts.octets = octets;
    std::vector<size_t> places(parts.debuts.begin(), parts.debuts.end() - 1);
    for (int64_t slot = 1; slot < fin; slot++) {
        if (!rel.actifs[slot]) continue;
        uint64_t hachage = hachage_slot(rel, slot);
        parts.entrees[places[partition_de(hachage, bits)]++] =
            entree_ligne{static_cast<uint32_t>(hachage), static_cast<uint32_t>(slot)};
    }
    return true;
}

// The set of one partition: each case holds the place of an entry of the
// partition plus one, or 0 when empty; linear probing, at most half full.
struct table_partition {
    std::vector<uint32_t> cases;
    size_t masque = 0;
    int decalage = 64;

    // Empties the set and sizes it for `nombre` entries.
    void preparer(size_t nombre) {
        size_t capacite = 16;
        while (capacite < 2 * nombre) capacite *= 2;
        cases.assign(capacite, 0);
        masque = capacite - 1;
        decalage = 64 - __builtin_ctzll(capacite);
    }

    // The case holding an entry of `entrees` of hash `empreinte` for which
    // `egal` holds, or the empty case where such an entry goes.
    template <typename Egalite>
    uint32_t* case_de(const entree_ligne* entrees, uint32_t empreinte, Egalite egal) {
        for (size_t place = place_empreinte(empreinte, decalage);; place = (place + 1) & masque) {
            uint32_t* c = &cases[place];
            if (*c == 0) return c;
            const entree_ligne& entree = entrees[*c - 1];
            if (entree.empreinte == empreinte && egal(entree)) return c;
        }
    }

    // The first entry of hash `empreinte`, the one compared first, or null.
    const entree_ligne* premiere(const entree_ligne* entrees, uint32_t empreinte) {
        uint32_t* c = case_de(entrees, empreinte, [](const entree_ligne&) { return true; });
        return *c == 0 ? nullptr : &entrees[*c - 1];
    }
};

bool lignes_egales(const id_valeur* a, const id_valeur* b, int32_t nb_champs) {
    for (int32_t i = 0; i < nb_champs; i++)
        if (a[i] != b[i]) return false;
    return true;
}

} // namespace

bool retirer_repetitions_par_partitions(relation& rel, int64_t debut, int64_t fin) {
    partitions parts;
    if (!partitionner(rel, fin, bits_pour(fin), parts)) return false;
    const entree_ligne* entrees = parts.entrees;
    size_t total = parts.debuts.back();
    table_partition table;
    for (size_t p = 0; p + 1 < parts.debuts.size(); p++) {
        const entree_ligne* partie = entrees + parts.debuts[p];
        size_t nombre = parts.debuts[p + 1] - parts.debuts[p];
        table.preparer(nombre);
        for (size_t i = 0; i < nombre; i++) {
            // Each row is loaded ahead; the earlier row that it may repeat
            // was loaded when it was read, and is still in cache.
            size_t suivante = parts.debuts[p] + i + AVANCE;
            if (suivante < total) precharger(valeurs_slot(rel, entrees[suivante].slot));
            const entree_ligne& entree = partie[i];
            const id_valeur* valeurs = valeurs_slot(rel, entree.slot);
            uint32_t* c = table.case_de(partie, entree.empreinte, [&](const entree_ligne& autre) {
                return lignes_egales(valeurs, valeurs_slot(rel, autre.slot), rel.nb_champs);
            });
            if (*c == 0) {
                *c = static_cast<uint32_t>(i + 1);
            } else if (entree.slot >= debut) {
                rel.actifs[entree.slot] = 0;
                rel.nb_actifs--;
            }
        }
    }
    return true;
}

std::optional<std::vector<uint8_t>> presences_par_partitions(const relation& a, const relation& b) {
    int bits = bits_pour(std::max(nb_slots_stockes(a), nb_slots_stockes(b)));
    partitions parts_a, parts_b;
    if (!partitionner(a, nb_slots_stockes(a), bits, parts_a) ||
        !partitionner(b, nb_slots_stockes(b), bits, parts_b))
        return std::nullopt;
    std::vector<uint8_t> presents(static_cast<size_t>(nb_slots_stockes(a)), 0);
    const entree_ligne* entrees_a = parts_a.entrees;
    size_t total_a = parts_a.debuts.back();
    table_partition table;
    for (size_t p = 0; p + 1 < parts_b.debuts.size(); p++) {
        // The live rows of `b` are distinct: each is placed by its hash alone.
        const entree_ligne* partie_b = parts_b.entrees + parts_b.debuts[p];
        size_t nombre_b = parts_b.debuts[p + 1] - parts_b.debuts[p];
        table.preparer(nombre_b);
        for (size_t i = 0; i < nombre_b; i++)
            *table.case_de(partie_b, partie_b[i].empreinte, [](const entree_ligne&) {
                return false;
            }) = static_cast<uint32_t>(i + 1);
        size_t debut_a = parts_a.debuts[p], fin_a = parts_a.debuts[p + 1];
        for (size_t i = debut_a; i < fin_a; i++) {
            // Rows of `a` are loaded AVANCE entries ahead, across partitions;
            // the row of `b` that one will be compared with, AVANCE / 2 ahead.
            if (i + AVANCE < total_a) precharger(valeurs_slot(a, entrees_a[i + AVANCE].slot));
            if (i + AVANCE / 2 < fin_a) {
                if (auto* candidate = table.premiere(partie_b, entrees_a[i + AVANCE / 2].empreinte))
                    precharger(valeurs_slot(b, candidate->slot));
            }
            const entree_ligne& entree = entrees_a[i];
            const id_valeur* valeurs = valeurs_slot(a, entree.slot);
            uint32_t* c = table.case_de(partie_b, entree.empreinte, [&](const entree_ligne& autre) {
                return lignes_egales(valeurs, valeurs_slot(b, autre.slot), a.nb_champs);
            });
            if (*c != 0) presents[entree.slot] = 1;
        }
    }
    return presents;
}
