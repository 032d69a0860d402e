#include "store/lignes_douteuses.h"

#include "store/hachage.h"
#include "store/memoire.h"
#include "store/relation.h"
#include "store/table_ouverte.h"

#include <algorithm>
#include <new>

namespace {

// Doubtful rows are looked for while they are at most a tenth of the slots
// (and a first few): most slots of the pass then find nothing in the
// filter. With more, the pass costs more than partitions, which spare
// memory only.
size_t douteuses_au_plus(int64_t slots) { return 4096 + static_cast<size_t>(slots) / 10; }

// How many rows ahead a row's hash is taken and its entry loaded.
constexpr int64_t AVANCE = 32;

// The distinct doubtful rows, each held by its first slot, in a hash set
// and in a filter of 16 bits a row, small enough to stay in cache: most
// rows of the pass are found absent there, without reading the set. The
// filter takes its bits from the high half of a row's hash, the set places
// its entries by the low half.
struct ensemble_douteuses {
    index_lignes table;
    std::vector<uint64_t> filtre; // two bits of one word a row
    size_t masque = 0;            // words of the filter, minus one
    size_t octets = 0;            // counted in the memory ceiling while held

    size_t mot(uint64_t hachage) const { return (hachage >> 32) & masque; }
    static uint64_t bits(uint64_t hachage) {
        return uint64_t{1} << (hachage >> 58) | uint64_t{1} << ((hachage >> 52) & 63);
    }
    bool peut_contenir(uint64_t hachage) const {
        return (filtre[mot(hachage)] & bits(hachage)) == bits(hachage);
    }
    void marquer(uint64_t hachage) { filtre[mot(hachage)] |= bits(hachage); }
    ~ensemble_douteuses() { decompter_memoire(octets); }
};

// Sizes `ens` for `nombre` rows; false when the memory is refused.
bool reserver(ensemble_douteuses& ens, size_t nombre) {
    size_t mots = 1;
    while (mots * 4 < nombre) mots *= 2;
    size_t octets = capacite_pour(nombre) * sizeof(entree_ligne) + mots * sizeof(uint64_t);
    if (!essayer_memoire(octets)) return false;
    try {
        reserver_table(ens.table, nombre);
        ens.filtre.assign(mots, 0);
    } catch (const std::bad_alloc&) {
        decompter_memoire(octets);
        return false;
    }
    ens.masque = mots - 1;
    ens.octets = octets;
    return true;
}

void retirer(relation& rel, int64_t slot) {
    rel.actifs[slot] = 0;
    rel.nb_actifs--;
}

// The test of equality with the row of `slot`, for the set's lookups.
auto egale_a(const relation& rel, int64_t slot) {
    const id_valeur* valeurs = valeurs_slot(rel, slot);
    return [&rel, valeurs](const entree_ligne& e) {
        return lignes_egales(valeurs, valeurs_slot(rel, e.slot), rel.nb_champs);
    };
}

// Puts the doubtful rows of `rel` in `ens`, retiring each one that repeats an
// earlier one. They lie anywhere in the slots: each is loaded AVANCE rows
// ahead, its entry AVANCE / 2 ahead.
void remplir(relation& rel, const std::vector<uint32_t>& douteuses, ensemble_douteuses& ens) {
    size_t nombre = douteuses.size();
    uint64_t hachages[AVANCE];
    for (size_t j = 0; j < std::min<size_t>(nombre, AVANCE); j++)
        precharger(valeurs_slot(rel, douteuses[j]));
    for (size_t j = 0; j < std::min<size_t>(nombre, AVANCE / 2); j++)
        hachages[j % AVANCE] = hachage_slot(rel, douteuses[j]);
    for (size_t j = 0; j < nombre; j++) {
        if (j + AVANCE < nombre) precharger(valeurs_slot(rel, douteuses[j + AVANCE]));
        if (size_t k = j + AVANCE / 2; k < nombre) {
            hachages[k % AVANCE] = hachage_slot(rel, douteuses[k]);
            precharger_table(ens.table, static_cast<uint32_t>(hachages[k % AVANCE]));
        }
        uint32_t slot = douteuses[j];
        uint64_t hachage = hachages[j % AVANCE];
        uint32_t empreinte = static_cast<uint32_t>(hachage);
        entree_ligne* place = chercher_case(ens.table, empreinte, egale_a(rel, slot));
        if (!place->vide()) {
            retirer(rel, slot);
            continue;
        }
        ajouter_dans(ens.table, place, entree_ligne{empreinte, slot});
        ens.marquer(hachage);
    }
}

// Retires each row of `ens` that repeats a live slot of `rel` that is not
// doubtful, in one pass over them in order. These rows are distinct (those
// before the waiting ones, and those that hold a new greatest id), so each
// entry is found once at most. Each row's hash is taken AVANCE slots ahead
// and its word of the filter loaded; AVANCE / 2 ahead, it is tried in the
// filter, and the entry loaded when it may be there; AVANCE / 4 ahead, the
// row of that entry.
void chercher_anterieures(relation& rel, const std::vector<uint32_t>& douteuses,
                          const ensemble_douteuses& ens) {
    int64_t fin = nb_slots_stockes(rel);
    uint64_t hachages[AVANCE];
    bool possibles[AVANCE];
    auto hacher = [&](int64_t slot) {
        hachages[slot % AVANCE] = hachage_slot(rel, slot);
        precharger(&ens.filtre[ens.mot(hachages[slot % AVANCE])]);
    };
    auto filtrer = [&](int64_t slot) {
        uint64_t hachage = hachages[slot % AVANCE];
        possibles[slot % AVANCE] = ens.peut_contenir(hachage);
        if (possibles[slot % AVANCE]) precharger_table(ens.table, static_cast<uint32_t>(hachage));
    };
    auto charger_candidate = [&](int64_t slot) {
        if (!possibles[slot % AVANCE]) return;
        uint32_t empreinte = static_cast<uint32_t>(hachages[slot % AVANCE]);
        if (auto* candidate = premiere_candidate(ens.table, empreinte))
            precharger(valeurs_slot(rel, candidate->slot));
    };
    for (int64_t slot = 1; slot < std::min(fin, 1 + AVANCE); slot++) hacher(slot);
    for (int64_t slot = 1; slot < std::min(fin, 1 + AVANCE / 2); slot++) filtrer(slot);
    for (int64_t slot = 1; slot < std::min(fin, 1 + AVANCE / 4); slot++) charger_candidate(slot);
    auto prochaine = douteuses.begin();
    for (int64_t slot = 1; slot < fin; slot++) {
        uint64_t hachage = hachages[slot % AVANCE];
        bool possible = possibles[slot % AVANCE];
        if (slot + AVANCE < fin) hacher(slot + AVANCE);
        if (slot + AVANCE / 2 < fin) filtrer(slot + AVANCE / 2);
        if (slot + AVANCE / 4 < fin) charger_candidate(slot + AVANCE / 4);
        if (prochaine != douteuses.end() && *prochaine == slot) {
            ++prochaine;
            continue;
        }
        if (!possible || !rel.actifs[slot]) continue;
        const entree_ligne* trouvee =
            trouver_entree(ens.table, static_cast<uint32_t>(hachage), egale_a(rel, slot));
        if (trouvee && trouvee->slot > slot) retirer(rel, trouvee->slot);
    }
}

// The live slots of `rel` from `debut` on that hold no id greater than all
// those before them in the same attribute, in order, into `douteuses`; the
// maximums are brought up to each slot on the way. False when they are more
// than douteuses_au_plus.
bool trouver_douteuses(relation& rel, int64_t debut, std::vector<uint32_t>& douteuses) {
    mettre_a_jour_maximums(rel, debut);
    size_t champs = static_cast<size_t>(rel.nb_champs);
    int64_t fin = nb_slots_stockes(rel);
    size_t limite = douteuses_au_plus(fin);
    int64_t* maximums = rel.maximums.data();
    int64_t slot = std::max<int64_t>(debut, 1);
    for (; slot < fin && douteuses.size() <= limite; slot++) {
        const id_valeur* valeurs = valeurs_slot(rel, slot);
        bool nouvelle = false;
        for (size_t i = 0; i < champs; i++) {
            if (valeurs[i] > maximums[i]) {
                maximums[i] = valeurs[i];
                nouvelle = true;
            }
        }
        if (!nouvelle && rel.actifs[slot]) douteuses.push_back(static_cast<uint32_t>(slot));
    }
    rel.maximums_jusqu_a = slot;
    return douteuses.size() <= limite;
}

} // namespace

bool retirer_repetitions_douteuses(relation& rel, int64_t debut) {
    std::vector<uint32_t> douteuses;
    if (!trouver_douteuses(rel, debut, douteuses)) return false;
    ensemble_douteuses ens;
    if (!reserver(ens, douteuses.size())) return false;
    remplir(rel, douteuses, ens);
    chercher_anterieures(rel, douteuses, ens);
    return true;
}
