// Union and difference of two relations of the same schema. Whether a row of
// one operand is in the other is answered by a hash set of live rows: the
// index of either operand, whichever is already built, or for large operands
// without one, sets of their rows grouped by hash.
#include "driver/erreurs.h"
#include "operators/operateurs.h"
#include "store/partitions_lignes.h"

#include <vector>

namespace {

// Position of the first attribute of `rel` whose name has the id `id`, or -1.
int32_t position_id(const relation& rel, id_valeur id) {
    const id_valeur* entete = valeurs_slot(rel, 0);
    for (int32_t i = 0; i < rel.nb_champs; i++)
        if (entete[i] == id) return i;
    return -1;
}

// The checks shared by union and difference, then the result, created with
// the first operand's attributes.
relation& creer_resultat(std::string_view premier, std::string_view second,
                         std::string_view resultat) {
    if (relation_existe(resultat)) erreur(200);
    // Operands with the same number of attributes but other names, or another
    // order, are refused like operands of different sizes.
    if (!verifier_schema(premier, second)) erreur(201);
    return *creer_relation(resultat, liste_attributs(*relation_existe(premier)));
}

// Whether each slot of `a` holds a live row that `b` holds too: `a`'s rows
// looked up in `b`'s index, or, when only `a`'s index is built, `b`'s rows
// looked up in it and the slots found marked.
std::vector<uint8_t> presences(relation& a, relation& b) {
    // Large operands of like sizes without an index are compared by
    // partitions instead: building an index costs a cache miss per row. A
    // few rows looked up in a large relation build its index, kept for the
    // next lookups, since partitions would read it all each time.
    if (!a.index_valide && !b.index_valide && nb_slots_stockes(b) >= SEUIL_PARTITIONS &&
        nb_slots_stockes(a) * 4 >= nb_slots_stockes(b)) {
        if (auto presents = presences_par_partitions(a, b)) return std::move(*presents);
    }
    std::vector<uint8_t> presents(static_cast<size_t>(nb_slots_stockes(a)), 0);
    if (b.index_valide || !a.index_valide) {
        std::vector<uint32_t> trouves = trouver_lignes(a, b);
        for (size_t slot = 0; slot < trouves.size(); slot++) presents[slot] = trouves[slot] != 0;
    } else {
        for (uint32_t slot : trouver_lignes(b, a)) presents[slot] = 1;
        presents[0] = 0;
    }
    return presents;
}

} // namespace

int verifier_schema(std::string_view premier, std::string_view second) {
    const relation& a = operande_existante(premier);
    const relation& b = operande_existante(second);
    if (a.nb_champs != b.nb_champs) erreur(201);
    const id_valeur* entete = valeurs_slot(a, 0);
    for (int32_t i = 0; i < a.nb_champs; i++) {
        int32_t dans_a = position_id(a, entete[i]);
        int32_t dans_b = position_id(b, entete[i]);
        if (dans_b < 0 || dans_a != dans_b) return 0;
    }
    return 1;
}

int64_t verifier_presence_tuple(std::string_view premier, std::string_view second, int64_t slot) {
    if (!verifier_schema(premier, second)) return 0;
    const relation& a = *relation_existe(premier);
    relation& b = *relation_existe(second);
    if (slot < 0 || slot >= nb_slots_stockes(a)) erreur(207);
    return chercher_ligne(b, valeurs_slot(a, slot));
}

void union_rel(std::string_view premier, std::string_view second, std::string_view resultat) {
    relation& res = creer_resultat(premier, second, resultat);
    relation& a = *relation_existe(premier);
    relation& b = *relation_existe(second);
    // The first operand's live rows are distinct. Those of the second are
    // distinct too, so one of them repeats an earlier row of the result
    // exactly when the first operand holds it.
    for (int64_t slot = 1; slot < nb_slots_stockes(a); slot++)
        if (a.actifs[slot]) ajouter_ligne_distincte(res, valeurs_slot(a, slot));
    std::vector<uint8_t> dans_a = presences(b, a);
    for (int64_t slot = 1; slot < nb_slots_stockes(b); slot++) {
        if (!b.actifs[slot]) continue;
        if (dans_a[static_cast<size_t>(slot)])
            ajouter_ligne_retiree(res, valeurs_slot(b, slot));
        else
            ajouter_ligne_distincte(res, valeurs_slot(b, slot));
    }
}

void difference(std::string_view premier, std::string_view second, std::string_view resultat) {
    relation& res = creer_resultat(premier, second, resultat);
    relation& a = *relation_existe(premier);
    relation& b = *relation_existe(second);
    std::vector<uint8_t> dans_b = presences(a, b);
    for (int64_t slot = 1; slot < nb_slots_stockes(a); slot++)
        if (a.actifs[slot] && !dans_b[static_cast<size_t>(slot)])
            ajouter_ligne_distincte(res, valeurs_slot(a, slot));
}
