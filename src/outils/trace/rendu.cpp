#include "outils/trace/rendu.h"

#include "outils/trace/releves.h"
#include "outils/trace/tableaux.h"
#include "store/relation.h"

#include <string>

namespace {

// A blank line between blocks, except in markdown and csv, whose blocks end
// with one already.
void separer(std::string& sortie, format_sortie format) {
    if (format == format_sortie::texte) sortie += "\n";
}

// The heading of `e`, its remarks, its tables, and what an @print listed.
void rendre_etape(std::string& sortie, const etape& e, const options_trace& o) {
    rendre_titre_etape(sortie, e.ligne, e.texte, o.format);
    if (!e.donnees.empty()) rendre_remarque(sortie, e.donnees, o.format);
    if (e.interrompue) rendre_remarque(sortie, "interrompue par une erreur", o.format);
    for (const etat_releve& etat : e.relations)
        rendre_tableau(sortie, tableau_releve(etat, est_produit(e, etat.rel->nom), o.max_lignes),
                       o.format, o.unicode);
    if (e.affichee) {
        rendre_remarque(sortie, "affiche " + e.affichee->rel->nom, o.format);
        rendre_tableau(sortie, tableau_releve(*e.affichee, false, o.max_lignes), o.format,
                       o.unicode);
    }
    separer(sortie, o.format);
}

} // namespace

void ecrire_etapes(FILE* flux, const std::vector<etape>& etapes, const options_trace& o) {
    std::string sortie;
    for (const etape& e : etapes) {
        rendre_etape(sortie, e, o);
        if (sortie.size() > (1 << 16)) vider(sortie, flux);
    }
    vider(sortie, flux);
}

void ecrire_dictionnaire(FILE* flux, const options_trace& o) {
    std::string sortie;
    rendre_tableau(sortie, tableau_dictionnaire(compter_relations()), o.format, o.unicode);
    vider(sortie, flux);
}
