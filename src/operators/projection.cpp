// Projection: the chosen attributes of a relation, in the order listed; rows
// that become equal are retired by the store as repeats.
#include "driver/erreurs.h"
#include "operators/operateurs.h"

#include <vector>

void projection(std::string_view source, std::string_view resultat, std::string_view liste) {
    const relation& src = operande_existante(source);
    if (relation_existe(resultat)) erreur(200);
    std::vector<int32_t> positions;
    positions.reserve(static_cast<size_t>(compter_champs(liste)));
    for (size_t debut = 0;;) {
        size_t virgule = liste.find(',', debut);
        int32_t position = verifier_champ_relation(src, liste.substr(debut, virgule - debut));
        if (position < 0) erreur(204);
        positions.push_back(position);
        if (virgule == std::string_view::npos) break;
        debut = virgule + 1;
    }
    relation& res = *creer_relation(resultat, liste);
    reserver_table(res.index, static_cast<size_t>(src.nb_actifs));

    id_valeur ligne[MAX_CHAMPS];
    int64_t stockes = nb_slots_stockes(src);
    for (int64_t slot = 1; slot < stockes; slot++) {
        if (!src.actifs[slot]) continue;
        const id_valeur* valeurs = valeurs_slot(src, slot);
        for (size_t i = 0; i < positions.size(); i++) ligne[i] = valeurs[positions[i]];
        ajouter_ligne(res, ligne);
    }
    verifier_doublon(res);
    // The result's index served only to find repeats: free it until needed.
    liberer_index(res);
}
