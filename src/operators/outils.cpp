// The routines every operator rests on: an attribute's position by name and a
// slot turned back into list text.
#include "driver/erreurs.h"
#include "operators/operateurs.h"

int32_t verifier_champ_relation(const relation& rel, std::string_view nom) {
    id_valeur id = chercher_valeur(nom);
    if (id == ID_ABSENT) return -1;
    const id_valeur* entete = valeurs_slot(rel, 0);
    for (int32_t i = 0; i < rel.nb_champs; i++)
        if (entete[i] == id) return i;
    return -1;
}

static std::string texte_slot(const relation& rel, int64_t slot) {
    std::string texte;
    const id_valeur* valeurs = valeurs_slot(rel, slot);
    for (int32_t i = 0; i < rel.nb_champs; i++) {
        if (i > 0) texte += ',';
        ajouter_texte_valeur(texte, valeurs[i]);
    }
    return texte;
}

std::optional<std::string> transformer_tuple_liste(std::string_view nom, int64_t slot) {
    const relation& rel = operande_existante(nom);
    if (slot < 0 || slot >= nb_slots_stockes(rel)) erreur(207);
    if (slot != 0 && !lire_tuple(rel, slot).actif) return std::nullopt;
    return texte_slot(rel, slot);
}

relation& operande_existante(std::string_view nom) {
    relation* rel = relation_existe(nom);
    if (!rel) erreur(203);
    return *rel;
}

std::string liste_attributs(const relation& rel) { return texte_slot(rel, 0); }
