// Union and difference of two relations of the same schema. The presence of
// a row in the second operand is answered by its hash set of live rows.
#include "driver/erreurs.h"
#include "operators/operateurs.h"

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

// Calls `traiter(valeurs, present)` for each live row of `a` in slot order,
// `present` telling whether `b` holds an equal live row. The lookups run a
// few rows ahead of the answers so that their memory accesses overlap.
template <typename Traitement>
static void parcourir_presence(const relation& a, relation& b, Traitement traiter) {
    assurer_index(b);
    constexpr int64_t AVANCE = 16;
    int64_t stockes = nb_slots_stockes(a);
    for (int64_t slot = 1; slot < stockes; slot++) {
        if (slot + AVANCE < stockes) precharger_ligne(b, valeurs_slot(a, slot + AVANCE));
        if (!a.actifs[slot]) continue;
        const id_valeur* valeurs = valeurs_slot(a, slot);
        traiter(valeurs, chercher_ligne(b, valeurs) != 0);
    }
}

void union_rel(std::string_view premier, std::string_view second, std::string_view resultat) {
    relation& res = creer_resultat(premier, second, resultat);
    relation& a = *relation_existe(premier);
    const relation& b = *relation_existe(second);
    // The first operand's live rows are distinct. Those of the second are
    // distinct too, so one of them repeats an earlier row of the result
    // exactly when the first operand holds it.
    for (int64_t slot = 1; slot < nb_slots_stockes(a); slot++)
        if (a.actifs[slot]) ajouter_ligne_distincte(res, valeurs_slot(a, slot));
    parcourir_presence(b, a, [&](const id_valeur* valeurs, bool present) {
        if (present) ajouter_ligne_retiree(res, valeurs);
        else ajouter_ligne_distincte(res, valeurs);
    });
}

void difference(std::string_view premier, std::string_view second, std::string_view resultat) {
    relation& res = creer_resultat(premier, second, resultat);
    const relation& a = *relation_existe(premier);
    relation& b = *relation_existe(second);
    parcourir_presence(a, b, [&](const id_valeur* valeurs, bool present) {
        if (!present) ajouter_ligne_distincte(res, valeurs);
    });
}
