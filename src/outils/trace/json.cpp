// The JSON document of a trace, written as it goes so that a relation of
// millions of rows never stands whole in memory as text.
#include "outils/commun/json.h"
#include "outils/trace/releves.h"
#include "outils/trace/rendu.h"
#include "outils/trace/tableaux.h"
#include "store/relation.h"

#include <string>

namespace {

// Appends `etat` as a JSON object, every live row included.
void ecrire_relation(std::string& sortie, FILE* flux, const etat_releve& etat, bool produit) {
    sortie += "{\"nom\":" + texte_json(etat.rel->nom) +
              ",\"attributs\":" + liste_json(lire_slot(etat, 0)) + ",\"lignes\":[";
    // A product's rows are never stored: its live count is not theirs.
    bool premiere = true;
    for (int64_t slot = produit ? etat.stockes : slot_vivant_suivant(etat, 0); slot < etat.stockes;
         slot = slot_vivant_suivant(etat, slot)) {
        if (!premiere) sortie += ",";
        premiere = false;
        sortie += liste_json(lire_slot(etat, slot));
        if (sortie.size() > (1 << 16)) vider(sortie, flux);
    }
    sortie += "],\"tupl\":" + std::to_string(etat.nb_tuples) +
              ",\"t_act\":" + std::to_string(etat.nb_actifs) +
              ",\"produit\":" + (produit ? "true" : "false") + "}";
}

// Appends step `e` as a JSON object; an @print step holds what it printed.
void ecrire_instruction(std::string& sortie, FILE* flux, const etape& e) {
    sortie += "{\"ligne\":" + std::to_string(e.ligne) + ",\"texte\":" + texte_json(e.texte) +
              ",\"relations\":[";
    for (size_t i = 0; i < e.relations.size(); i++) {
        if (i > 0) sortie += ",";
        ecrire_relation(sortie, flux, e.relations[i], est_produit(e, e.relations[i].rel->nom));
    }
    if (e.affichee) {
        if (!e.relations.empty()) sortie += ",";
        ecrire_relation(sortie, flux, *e.affichee, false);
    }
    sortie += "],\"affichee\":" + (e.affichee ? texte_json(e.affichee->rel->nom) : "null") + "}";
}

// An error as {"ligne", "code", "message"}.
std::string erreur_json(const erreur_notee& err) {
    return "{\"ligne\":" + std::to_string(err.ligne) + ",\"code\":" + std::to_string(err.code) +
           ",\"message\":" + texte_json(err.message) + "}";
}

} // namespace

void ecrire_json(FILE* flux, const std::vector<etape>& etapes,
                 const std::vector<erreur_notee>& erreurs, int statut) {
    std::string sortie = "{\"instructions\":[";
    for (size_t i = 0; i < etapes.size(); i++) {
        sortie += i > 0 ? ",\n" : "\n";
        ecrire_instruction(sortie, flux, etapes[i]);
    }
    sortie += "],\n\"erreurs\":[";
    for (size_t i = 0; i < erreurs.size(); i++) {
        if (i > 0) sortie += ",";
        sortie += erreur_json(erreurs[i]);
    }
    sortie += "],\n\"statut\":" + std::to_string(statut) + "}\n";
    vider(sortie, flux);
}
