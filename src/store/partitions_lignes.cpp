#include "store/partitions_lignes.h"

#include "store/grands_blocs.h"
#include "store/hachage.h"
#include "store/memoire.h"
#include "store/relation.h"
#include "store/table_ouverte.h"

#include <algorithm>
#include <cmath>
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

// The partition of a row: the high bits of its hash, which the sets within a
// partition do not use (they place an entry by its low 32 bits).
size_t partition_de(uint64_t hachage, int bits) {
    return bits == 0 ? 0 : static_cast<size_t>(hachage >> (64 - bits));
}

// The live slots of a relation grouped by partition, in slot order within
// each: partition p is entrees[debuts[p]] to entrees[fins[p]].
struct partitions {
    entree_ligne* entrees = nullptr; // a block of allouer_bloc, in huge pages when large
    size_t octets = 0;               // its size, counted in the memory ceiling while held
    std::vector<size_t> debuts, fins;
    partitions() = default;
    partitions(const partitions&) = delete;
    partitions& operator=(const partitions&) = delete;
    ~partitions() { liberer(); }

    // Room for `nombre` entries, the earlier room given back first; false
    // when the memory is refused.
    bool reserver(size_t nombre) {
        liberer();
        size_t taille = std::max<size_t>(1, nombre) * sizeof(entree_ligne);
        if (!essayer_memoire(taille)) return false;
        try {
            entrees = static_cast<entree_ligne*>(allouer_bloc(taille));
        } catch (const std::bad_alloc&) {
            decompter_memoire(taille);
            return false;
        }
        octets = taille;
        return true;
    }
    void liberer() {
        if (!entrees) return;
        liberer_bloc(entrees, octets);
        decompter_memoire(octets);
        entrees = nullptr;
        octets = 0;
    }
};

// Places the live slots of `rel` in partitions of the room given, in one
// pass; false when a partition is full.
bool placer(const relation& rel, int bits, partitions& parts) {
    for (int64_t slot = 1; slot < nb_slots_stockes(rel); slot++) {
        if (!rel.actifs[slot]) continue;
        uint64_t hachage = hachage_slot(rel, slot);
        size_t p = partition_de(hachage, bits);
        if (parts.fins[p] == parts.debuts[p + 1]) return false;
        parts.entrees[parts.fins[p]++] =
            entree_ligne{static_cast<uint32_t>(hachage), static_cast<uint32_t>(slot)};
    }
    return true;
}

// Groups the live slots of `rel` into 2^bits partitions. Rows spread over
// the partitions as their hashes do, so each is first given room for its
// share of the live rows and a margin of six standard deviations, and the
// rows are placed in one pass. Should one be full (many repeated rows share
// a hash), the rows are counted for each partition first, then placed.
// False when the memory is refused.
bool partitionner(const relation& rel, int bits, partitions& parts) {
    size_t nombre = size_t{1} << bits;
    int64_t vivantes = std::min(rel.nb_actifs, nb_slots_stockes(rel));
    size_t part = (static_cast<size_t>(vivantes) + nombre - 1) / nombre;
    size_t place = part + 6 * static_cast<size_t>(std::sqrt(static_cast<double>(part))) + 16;
    if (!parts.reserver(nombre * place)) return false;
    parts.debuts.resize(nombre + 1);
    for (size_t p = 0; p <= nombre; p++) parts.debuts[p] = p * place;
    parts.fins.assign(parts.debuts.begin(), parts.debuts.end() - 1);
    if (placer(rel, bits, parts)) return true;

    std::vector<size_t> comptes(nombre + 1, 0);
    for (int64_t slot = 1; slot < nb_slots_stockes(rel); slot++)
        if (rel.actifs[slot]) comptes[partition_de(hachage_slot(rel, slot), bits) + 1]++;
    for (size_t p = 0; p < nombre; p++) comptes[p + 1] += comptes[p];
    if (comptes[nombre] > nombre * place && !parts.reserver(comptes[nombre])) return false;
    parts.debuts = comptes;
    parts.fins.assign(parts.debuts.begin(), parts.debuts.end() - 1);
    return placer(rel, bits, parts);
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

} // namespace

bool retirer_repetitions_par_partitions(relation& rel, int64_t debut) {
    partitions parts;
    if (!partitionner(rel, bits_pour(nb_slots_stockes(rel)), parts)) return false;
    table_partition table;
    for (size_t p = 0; p < parts.fins.size(); p++) {
        const entree_ligne* partie = parts.entrees + parts.debuts[p];
        size_t nombre = parts.fins[p] - parts.debuts[p];
        table.preparer(nombre);
        // Each row is loaded ahead; the earlier row that it may repeat was
        // loaded when it was read, and is still in cache.
        for (size_t i = 0; i < std::min(nombre, AVANCE); i++)
            precharger(valeurs_slot(rel, partie[i].slot));
        for (size_t i = 0; i < nombre; i++) {
            if (i + AVANCE < nombre) precharger(valeurs_slot(rel, partie[i + AVANCE].slot));
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
    if (!partitionner(a, bits, parts_a) || !partitionner(b, bits, parts_b)) return std::nullopt;
    std::vector<uint8_t> presents(static_cast<size_t>(nb_slots_stockes(a)), 0);
    table_partition table;
    for (size_t p = 0; p < parts_b.fins.size(); p++) {
        // The live rows of `b` are distinct: each is placed by its hash alone.
        const entree_ligne* partie_b = parts_b.entrees + parts_b.debuts[p];
        size_t nombre_b = parts_b.fins[p] - parts_b.debuts[p];
        table.preparer(nombre_b);
        for (size_t i = 0; i < nombre_b; i++)
            *table.case_de(partie_b, partie_b[i].empreinte, [](const entree_ligne&) {
                return false;
            }) = static_cast<uint32_t>(i + 1);
        // Rows of `a` are loaded AVANCE entries ahead; the row of `b` that
        // one will be compared with, AVANCE / 2 ahead.
        const entree_ligne* partie_a = parts_a.entrees + parts_a.debuts[p];
        size_t nombre_a = parts_a.fins[p] - parts_a.debuts[p];
        for (size_t i = 0; i < std::min(nombre_a, AVANCE); i++)
            precharger(valeurs_slot(a, partie_a[i].slot));
        for (size_t i = 0; i < nombre_a; i++) {
            if (i + AVANCE < nombre_a) precharger(valeurs_slot(a, partie_a[i + AVANCE].slot));
            if (i + AVANCE / 2 < nombre_a) {
                if (auto* candidate = table.premiere(partie_b, partie_a[i + AVANCE / 2].empreinte))
                    precharger(valeurs_slot(b, candidate->slot));
            }
            const entree_ligne& entree = partie_a[i];
            const id_valeur* valeurs = valeurs_slot(a, entree.slot);
            uint32_t* c = table.case_de(partie_b, entree.empreinte, [&](const entree_ligne& autre) {
                return lignes_egales(valeurs, valeurs_slot(b, autre.slot), a.nb_champs);
            });
            if (*c != 0) presents[entree.slot] = 1;
        }
    }
    return presents;
}
