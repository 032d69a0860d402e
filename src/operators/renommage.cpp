// Renaming: a copy of a relation's live rows under one new attribute name.
#include "driver/erreurs.h"
#include "operators/operateurs.h"

void renommer(std::string_view source, std::string_view resultat, std::string_view ancien,
              std::string_view nouveau) {
    const relation& src = operande_existante(source);
    if (verifier_champ_relation(src, nouveau) >= 0) erreur(206);
    int32_t position = verifier_champ_relation(src, ancien);
    if (position < 0) erreur(204);
    // The new name must fit an attribute name, like every other one.
    if (nouveau.size() > MAX_VALEUR) erreur(209);
    relation& res = *creer_relation(resultat, liste_attributs(src));

    int64_t stockes = nb_slots_stockes(src);
    for (int64_t slot = 1; slot < stockes; slot++)
        if (src.actifs[slot]) ajouter_ligne_distincte(res, valeurs_slot(src, slot));
    res.valeurs[static_cast<size_t>(position)] = interner_valeur(nouveau);
}
