// The listing of one relation in the output file, in the form of the
// language's own statements, so that an output file is valid input.
#include "driver/erreurs.h"
#include "store/flux.h"
#include "store/relation.h"

#include <string>

// Appends the values of one slot, separated by commas, to `texte`.
static void ajouter_valeurs(std::string& texte, const relation& rel, int64_t slot) {
    const id_valeur* valeurs = valeurs_slot(rel, slot);
    texte += texte_valeur(valeurs[0]);
    for (int32_t i = 1; i < rel.nb_champs; i++) {
        texte += ',';
        texte += texte_valeur(valeurs[i]);
    }
}

void afficher_relation(std::string_view nom) {
    const relation* rel = relation_existe(nom);
    if (!rel) erreur(203);
    std::string& sortie = tampon_sortie();
    sortie += "\n\n@relation ";
    sortie += rel->nom;
    sortie += ':';
    ajouter_valeurs(sortie, *rel, 0);
    if (rel->nb_actifs > 0) {
        const std::string debut_ligne = "\n@data " + rel->nom + ":";
        int64_t stockes = nb_slots_stockes(*rel);
        for (int64_t slot = 1; slot < stockes; slot++) {
            if (!rel->actifs[slot]) continue;
            sortie += debut_ligne;
            ajouter_valeurs(sortie, *rel, slot);
            vider_si_plein();
        }
    }
    vider_si_plein();
}
