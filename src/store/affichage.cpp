// The listing of one relation in the output file, in the form of the
// language's own statements, so that an output file is valid input.
#include "driver/erreurs.h"
#include "driver/journal.h"
#include "store/flux.h"
#include "store/relation.h"

#include <cstring>
#include <string>

// Writes the values of one slot, separated by commas, at `place`, and answers
// the end of what was written. `place` has room for the longest slot.
static char* ecrire_valeurs(char* place, const relation& rel, int64_t slot) {
    const id_valeur* valeurs = valeurs_slot(rel, slot);
    place += copier_texte(place, valeurs[0]);
    for (int32_t i = 1; i < rel.nb_champs; i++) {
        *place++ = ',';
        place += copier_texte(place, valeurs[i]);
    }
    return place;
}

// Writes `debut` and then the values of one slot to the output buffer.
static void ecrire_ligne(const std::string& debut, const relation& rel, int64_t slot) {
    size_t longueur_max =
        debut.size() + static_cast<size_t>(rel.nb_champs) * (MAX_VALEUR + 1) + PLACE_COPIE;
    char* place = reserver_sortie(longueur_max);
    std::memcpy(place, debut.data(), debut.size());
    char* fin = ecrire_valeurs(place + debut.size(), rel, slot);
    valider_sortie(static_cast<size_t>(fin - place));
}

// Starts loading the texts of one slot's values: the listing reads them in
// slot order, that is anywhere among the interned texts.
static void precharger_textes(const relation& rel, int64_t slot) {
    const id_valeur* valeurs = valeurs_slot(rel, slot);
    for (int32_t i = 0; i < rel.nb_champs; i++)
        if (!(valeurs[i] & ID_ENTIER)) __builtin_prefetch(textes.octets + valeurs[i]);
}

// Writes the listing of `rel` to the output buffer.
static void lister(const relation& rel) {
    ecrire_ligne("\n\n@relation " + rel.nom + ":", rel, 0);
    if (rel.nb_actifs <= 0) return;
    const std::string debut_donnees = "\n@data " + rel.nom + ":";
    int64_t stockes = nb_slots_stockes(rel);
    constexpr int64_t AVANCE = 8; // slots read ahead
    for (int64_t slot = 1; slot < stockes && slot <= AVANCE; slot++) precharger_textes(rel, slot);
    for (int64_t slot = 1; slot < stockes; slot++) {
        if (slot + AVANCE < stockes) precharger_textes(rel, slot + AVANCE);
        if (rel.actifs[slot]) ecrire_ligne(debut_donnees, rel, slot);
    }
}

void afficher_relation(std::string_view nom) {
    relation* rel = relation_existe(nom);
    if (!rel) erreur(203);
    // The companions show the relation themselves; nothing is written.
    if (journal.actif) return noter_affichage(*rel);
    lister(*rel);
    achever_sortie();
}
