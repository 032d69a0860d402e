#include "outils/trace/releves.h"

#include "driver/erreurs.h"
#include "outils/trace/etapes.h"
#include "store/relation.h"

#include <new>

std::vector<std::string> lire_slot(const etat_releve& etat, int64_t slot) {
    const relation& rel = *etat.rel;
    const id_valeur* valeurs = valeurs_slot(rel, slot);
    std::vector<std::string> textes(static_cast<size_t>(rel.nb_champs));
    for (int32_t i = 0; i < rel.nb_champs; i++) ajouter_texte_valeur(textes[i], valeurs[i]);
    return textes;
}

int64_t slot_vivant_suivant(const etat_releve& etat, int64_t apres) {
    int64_t slot = apres + 1;
    while (slot < etat.stockes && !etat.rel->actifs[slot]) slot++;
    return slot;
}

namespace {

// The title of a table: the relation's name and counts, or a product's pairs.
std::string titre_releve(const etat_releve& etat, bool produit) {
    std::string titre = etat.rel->nom + " : ";
    if (produit)
        return titre + "produit de la jointure (lignes non gardées), " +
               accorder(etat.rel->nb_champs, "attribut", "attributs") + ", " +
               accorder(etat.nb_tuples - 1, "paire", "paires") + ", " +
               accorder(etat.nb_actifs, "paire concordante", "paires concordantes");
    return titre + accorder(etat.rel->nb_champs, "attribut", "attributs") + ", " +
           accorder(etat.nb_actifs, "ligne", "lignes") + " (T_ACT), " +
           accorder(etat.nb_tuples, "emplacement", "emplacements") + " (TUPL)";
}

} // namespace

tableau tableau_releve(const etat_releve& etat, bool produit, int64_t max) {
    tableau t;
    t.titre = titre_releve(etat, produit);
    if (produit) return t;
    t.entete = lire_slot(etat, 0);
    for (int64_t slot = slot_vivant_suivant(etat, 0);
         slot < etat.stockes && (max == 0 || static_cast<int64_t>(t.lignes.size()) < max);
         slot = slot_vivant_suivant(etat, slot))
        t.lignes.push_back(lire_slot(etat, slot));
    t.restantes = etat.nb_actifs - static_cast<int64_t>(t.lignes.size());
    return t;
}

std::vector<compte_relation> compter_relations() {
    std::vector<compte_relation> comptes;
    if (!dico) return comptes;
    for (const entree_dico& entree : dico->entrees) {
        relation* rel = entree.adresse;
        // Rows still waiting are settled first; a failure then (memory) is
        // not reported again: the counts are taken as they stand.
        journal.silencieux = true;
        try {
            relation_existe(entree.nom);
        } catch (const fin_execution&) {
        } catch (const std::bad_alloc&) {
        }
        journal.silencieux = false;
        comptes.push_back({entree.nom, rel->nb_champs, rel->nb_tuples, rel->nb_actifs});
    }
    return comptes;
}

tableau tableau_dictionnaire(const std::vector<compte_relation>& comptes) {
    tableau t;
    t.titre = "Dictionnaire : " + accorder(static_cast<int64_t>(comptes.size()), "relation",
                                           "relations");
    t.entete = {"nom", "COL", "TUPL", "T_ACT"};
    t.a_droite = {false, true, true, true};
    for (const compte_relation& c : comptes)
        t.lignes.push_back({c.nom, std::to_string(c.col), std::to_string(c.tupl),
                            std::to_string(c.t_act)});
    return t;
}
