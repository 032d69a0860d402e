// The dictionary of relations: registration in creation order, lookup by
// name through a hash index, the end-of-run summary and the release.
#include "driver/erreurs.h"
#include "driver/journal.h"
#include "store/flux.h"
#include "store/relation.h"

#include <cinttypes>
#include <cstdio>
#include <string>

std::unique_ptr<dictionnaire> dico;

void initialiser_dico() { dico = std::make_unique<dictionnaire>(); }

relation* ajouter_ds_dico(std::unique_ptr<relation> rel) {
    relation* adresse = rel.get();
    adresse->rang = dico->nb_relations;
    int32_t identifiant = attribuer_identifiant(*dico, reinterpret_cast<uintptr_t>(adresse));
    dico->entrees.push_back(entree_dico{adresse->nom, adresse, identifiant});
    dico->par_nom.emplace(adresse->nom, adresse);
    dico->relations.push_back(std::move(rel));
    dico->nb_relations++;
    return adresse;
}

relation* relation_enregistree(std::string_view nom) {
    if (!dico) return nullptr;
    auto trouve = dico->par_nom.find(absl::string_view(nom.data(), nom.size()));
    return trouve == dico->par_nom.end() ? nullptr : trouve->second;
}

relation* relation_existe(std::string_view nom) {
    inserer_lignes_en_attente();
    relation* rel = relation_enregistree(nom);
    if (rel) verifier_doublon(*rel);
    return rel;
}

void liberer_memoire() {
    // The companions read the store after an error: only the streams close.
    if (journal.actif) {
        fermer_flux();
        return;
    }
    oublier_lignes_en_attente();
    dico.reset();
    reinitialiser_valeurs();
    if (!fermer_flux()) afficher_message_erreur(CODE_ECRITURE_SORTIE);
}

int32_t attribuer_identifiant(dictionnaire& d, uintptr_t adresse) {
    constexpr uintptr_t MODULE = 1'000'000'000;
    uintptr_t numero = adresse / alignof(relation) % MODULE;
    while (d.identifiants.contains(static_cast<int32_t>(numero))) numero = (numero + 1) % MODULE;
    d.identifiants.insert(static_cast<int32_t>(numero));
    return static_cast<int32_t>(numero);
}

void afficher_dico() {
    inserer_lignes_en_attente();
    std::string texte;
    char ligne[160];
    std::snprintf(ligne, sizeof ligne, "\nDictionnaire : %d relation(s)", dico->nb_relations);
    texte += ligne;
    texte += "\n\t NOM\t\t\t  -  ADRESSE - COL - TUPL - T_ACT";
    for (const entree_dico& entree : dico->entrees) {
        relation* rel = entree.adresse;
        verifier_doublon(*rel);
        std::snprintf(ligne, sizeof ligne, "\n%20s%10d%6d%6" PRId64 "%6" PRId64, entree.nom.c_str(),
                      entree.identifiant, rel->nb_champs, rel->nb_tuples, rel->nb_actifs);
        texte += ligne;
    }
    texte += "\n";
    std::fwrite(texte.data(), 1, texte.size(), stdout);
}
