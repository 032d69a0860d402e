#include "outils/trace/etapes.h"

#include "language/jetons.h"
#include "store/relation.h"

#include <algorithm>

std::string accorder(int64_t n, const std::string& singulier, const std::string& pluriel) {
    return std::to_string(n) + " " + (n > 1 ? pluriel : singulier);
}

namespace {

// The live rows `rel` has at the end of `ins`, or those it had before.
int64_t actifs_a_la_fin(const instruction_notee& ins, const donnees_versees& d) {
    for (const etat_releve& e : ins.etats)
        if (e.rel == d.rel) return e.nb_actifs;
    return d.actifs_avant;
}

// Adds `etats` to `relations`, a later snapshot of a relation replacing the
// earlier one, and keeps them in creation order.
void fusionner(std::vector<etat_releve>& relations, const std::vector<etat_releve>& etats) {
    for (const etat_releve& e : etats) {
        auto meme = std::find_if(relations.begin(), relations.end(),
                                 [&](const etat_releve& r) { return r.rel == e.rel; });
        if (meme != relations.end()) *meme = e;
        else relations.push_back(e);
    }
    std::stable_sort(relations.begin(), relations.end(),
                     [](const etat_releve& a, const etat_releve& b) {
                         return a.rel->rang < b.rel->rang;
                     });
}

// The step that entry `ins` begins.
etape commencer_etape(const instruction_notee& ins) {
    etape e;
    e.ligne = ins.ligne;
    e.texte = ins.mot == AT_DATA ? resumer_donnees(ins) : ins.texte;
    e.affichee = ins.affichee;
    e.interrompue = ins.interrompue;
    fusionner(e.relations, ins.etats);
    for (const operation_notee& op : ins.operations)
        if (op.desc.type_op == OP_JOINTURE) e.produits.push_back("#" + op.resultat);
    return e;
}

} // namespace

bool est_produit(const etape& e, const std::string& nom) {
    return std::find(e.produits.begin(), e.produits.end(), nom) != e.produits.end();
}

std::string resumer_donnees(const instruction_notee& donnees) {
    std::string resume = "@data :";
    for (size_t i = 0; i < donnees.donnees.size(); i++) {
        const donnees_versees& d = donnees.donnees[i];
        int64_t repetees = std::max<int64_t>(
            0, d.lignes - (actifs_a_la_fin(donnees, d) - d.actifs_avant));
        resume += i > 0 ? " ; " : " ";
        resume += accorder(d.lignes, "ligne", "lignes") + " pour " + d.rel->nom + ", ";
        resume += repetees == 0 ? std::string("aucune répétée")
                                : "dont " + accorder(repetees, "répétée", "répétées");
    }
    if (donnees.donnees.empty()) resume += " aucune ligne acceptée";
    return resume;
}

std::vector<etape> regrouper_etapes(const std::vector<instruction_notee>& instructions) {
    std::vector<etape> etapes;
    for (size_t i = 0; i < instructions.size(); i++) {
        const instruction_notee& ins = instructions[i];
        bool replier = ins.mot == AT_DATA && i > 0 && instructions[i - 1].mot == AT_RELATION &&
                       instructions[i - 1].fichier == ins.fichier;
        if (!replier) {
            etapes.push_back(commencer_etape(ins));
            continue;
        }
        etape& e = etapes.back();
        e.donnees = resumer_donnees(ins);
        e.interrompue = e.interrompue || ins.interrompue;
        fusionner(e.relations, ins.etats);
    }
    return etapes;
}
