// Selection: the live rows of a relation whose attribute equals a constant,
// or whose two attributes are equal. Only equality is evaluated; an order
// comparison is refused (303) once the result exists and a data slot is met.
#include "driver/erreurs.h"
#include "operators/operateurs.h"

namespace {

// Creates the result with the source's attributes; answers null when the
// comparison selects nothing (an order comparison on a source without data
// slots, or an unknown comparison).
relation* creer_resultat(const relation& src, std::string_view resultat, char comparaison) {
    relation* res = creer_relation(resultat, liste_attributs(src));
    if (comparaison == '<' || comparaison == '>') {
        if (src.nb_tuples > 1) erreur(303);
        return nullptr;
    }
    return comparaison == '=' ? res : nullptr;
}

// Appends to `res` every live row of `src` that `garde` accepts, in slot order.
template <typename Predicat> void copier_si(const relation& src, relation& res, Predicat garde) {
    int64_t stockes = nb_slots_stockes(src);
    for (int64_t slot = 1; slot < stockes; slot++) {
        const id_valeur* valeurs = valeurs_slot(src, slot);
        // Live rows of a relation are distinct, so no selected row is a repeat.
        if (src.actifs[slot] && garde(valeurs)) ajouter_ligne_distincte(res, valeurs);
    }
}

} // namespace

void selection(std::string_view source, std::string_view resultat, std::string_view attribut,
               char comparaison, std::string_view constante) {
    const relation& src = operande_existante(source);
    if (relation_existe(resultat)) erreur(200);
    int32_t position = verifier_champ_relation(src, attribut);
    if (position < 0) erreur(204);
    relation* res = creer_resultat(src, resultat, comparaison);
    if (!res) return;
    // A constant never stored (a longer one included) matches no row.
    id_valeur cherche = chercher_valeur(constante);
    if (cherche == ID_ABSENT) return;
    copier_si(src, *res, [&](const id_valeur* v) { return v[position] == cherche; });
}

void selection_attribut(std::string_view source, std::string_view resultat,
                        std::string_view attribut1, char comparaison, std::string_view attribut2) {
    const relation& src = operande_existante(source);
    if (relation_existe(resultat)) erreur(200);
    int32_t position1 = verifier_champ_relation(src, attribut1);
    int32_t position2 = verifier_champ_relation(src, attribut2);
    if (position1 < 0) erreur(204);
    if (position2 < 0) erreur(204);
    relation* res = creer_resultat(src, resultat, comparaison);
    if (!res) return;
    copier_si(src, *res, [&](const id_valeur* v) { return v[position1] == v[position2]; });
}
