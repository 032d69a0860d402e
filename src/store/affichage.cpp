// The listing of one relation in the output file, in the form of the
// language's own statements, so that an output file is valid input.
#include "driver/erreurs.h"
#include "store/flux.h"
#include "store/relation.h"

#include <string>

// Appends the values of one slot, separated by commas, to `texte`.
static void ajouter_valeurs(std::string& texte, const relation& rel, int64_t slot) {
    const id_valeur* valeurs = valeurs_slot(rel, slot);
    for (int32_t i = 0; i < rel.nb_champs; i++) {
        if (i > 0) texte += ',';
        texte += texte_valeur(valeurs[i]);
    }
}

void afficher_relation(std::string_view nom) {
    const relation* rel = relation_existe(nom);
    if (!rel) erreur(203);
    std::string texte;
    texte.reserve(4096);
    texte += "\n\n@relation ";
    texte += rel->nom;
    texte += ':';
    ajouter_valeurs(texte, *rel, 0);
    if (rel->nb_actifs > 0) {
        std::string debut_ligne = "\n@data " + rel->nom + ":";
        int64_t stockes = nb_slots_stockes(*rel);
        for (int64_t slot = 1; slot < stockes; slot++) {
            if (!rel->actifs[slot]) continue;
            texte += debut_ligne;
            ajouter_valeurs(texte, *rel, slot);
            if (texte.size() >= 1 << 16) {
                ecrire_sortie(texte);
                texte.clear();
            }
        }
    }
    ecrire_sortie(texte);
}
