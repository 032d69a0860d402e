#include "driver/journal.h"

#include "driver/erreurs.h"
#include "language/analyseur_lexical.h"
#include "language/jetons.h"
#include "store/relation.h"

#include <algorithm>

journal_execution journal;

void reinitialiser_journal() { journal = journal_execution{}; }

namespace {

instruction_notee* ouverte() {
    return journal.ouverte && !journal.instructions.empty() ? &journal.instructions.back()
                                                            : nullptr;
}

etat_releve relever(relation& rel) {
    return etat_releve{&rel, nb_slots_stockes(rel), rel.nb_tuples, rel.nb_actifs};
}

// Settles the rows still waiting and notes, as they stand, the relations that
// `ins` created or filled, in creation order.
void relever_relations(instruction_notee& ins) {
    inserer_lignes_en_attente();
    ins.fin_relations = dico->nb_relations;
    std::vector<relation*> touchees;
    for (int32_t i = ins.premiere_relation; i < ins.fin_relations; i++)
        touchees.push_back(dico->entrees[static_cast<size_t>(i)].adresse);
    for (const donnees_versees& d : ins.donnees)
        if (d.rel->rang < ins.premiere_relation) touchees.push_back(d.rel);
    std::sort(touchees.begin(), touchees.end(),
              [](const relation* a, const relation* b) { return a->rang < b->rang; });
    ins.etats.clear();
    for (relation* rel : touchees) {
        verifier_doublon(*rel);
        ins.etats.push_back(relever(*rel));
    }
}

// Closes the open instruction: its text, and its relations as they stand.
void fermer(bool interrompue) {
    instruction_notee* ins = ouverte();
    if (!ins) return;
    journal.ouverte = false;
    if (ins->texte.empty()) ins->texte = texte_instruction(ins->mot_lu);
    ins->interrompue = interrompue;
    relever_relations(*ins);
}

} // namespace

void noter_instruction(int mot) {
    instruction_notee* ins = ouverte();
    // Consecutive @data statements of one file make one instruction.
    if (ins && mot == AT_DATA && ins->mot == AT_DATA) {
        if (ins->nb_instructions == 1) ins->texte = texte_instruction(ins->mot_lu);
        ins->nb_instructions++;
        return;
    }
    fermer(false);
    instruction_notee nouvelle;
    nouvelle.mot = mot;
    nouvelle.fichier = journal.fichier;
    nouvelle.ligne = num_ligne;
    nouvelle.nb_instructions = 1;
    nouvelle.premiere_relation = dico->nb_relations;
    nouvelle.mot_lu = mots_instruction_lus();
    journal.instructions.push_back(std::move(nouvelle));
    journal.ouverte = true;
}

void noter_donnee(relation& rel) {
    instruction_notee* ins = ouverte();
    if (!ins) return;
    for (donnees_versees& d : ins->donnees) {
        if (d.rel != &rel) continue;
        d.lignes++;
        return;
    }
    // The first row of this run for `rel`: nothing of it waits yet.
    inserer_lignes_en_attente();
    verifier_doublon(rel);
    ins->donnees.push_back(donnees_versees{&rel, 1, rel.nb_actifs, nb_slots_stockes(rel)});
}

void noter_operation(const std::string& resultat, const descripteur& d, int32_t avant) {
    instruction_notee* ins = ouverte();
    if (!ins) return;
    ins->operations.push_back(operation_notee{d, resultat, dico->nb_relations > avant});
}

void noter_affichage(relation& rel) {
    instruction_notee* ins = ouverte();
    if (ins) ins->affichee = relever(rel);
}

void noter_erreur(int code, const std::string& message) {
    journal.erreurs.push_back(erreur_notee{num_ligne, code, message});
    // A syntax error ends only the file; the others end the run. Either way
    // the open instruction stops here, with what it made kept.
    journal.silencieux = true;
    try {
        if (dico) fermer(true);
    } catch (const fin_execution&) {
        // Settling the last rows failed (memory): they are not shown.
    }
    journal.silencieux = false;
}

void noter_fin_fichier() {
    if (dico) fermer(false);
}

std::vector<std::string> attributs_releve(const etat_releve& etat) {
    std::vector<std::string> noms;
    const id_valeur* entete = valeurs_slot(*etat.rel, 0);
    for (int32_t i = 0; i < etat.rel->nb_champs; i++) {
        noms.emplace_back();
        ajouter_texte_valeur(noms.back(), entete[i]);
    }
    return noms;
}

std::vector<std::vector<std::string>> lignes_releve(const etat_releve& etat) {
    std::vector<std::vector<std::string>> lignes;
    const relation& rel = *etat.rel;
    for (int64_t slot = 1; slot < etat.stockes; slot++) {
        if (!rel.actifs[slot]) continue;
        const id_valeur* valeurs = valeurs_slot(rel, slot);
        std::vector<std::string>& ligne = lignes.emplace_back(static_cast<size_t>(rel.nb_champs));
        for (int32_t i = 0; i < rel.nb_champs; i++) ajouter_texte_valeur(ligne[i], valeurs[i]);
    }
    return lignes;
}
