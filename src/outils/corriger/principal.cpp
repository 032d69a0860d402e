// algrel-corriger: checks an answer against a reference, relation by
// relation, and can find a small data file on which they differ.
#include "outils/commun/usage.h"
#include "outils/corriger/comparaison.h"
#include "outils/corriger/contre_exemple.h"
#include "outils/corriger/lancer.h"
#include "outils/corriger/options.h"
#include "outils/corriger/rapport.h"
#include "outils/corriger/sorties.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const PROGRAMME = "algrel-corriger";

// Writes `texte` to `chemin`; a failure is an erreur_usage.
void ecrire_fichier(const std::string& chemin, const std::string& texte) {
    FILE* flux = std::fopen(chemin.c_str(), "w");
    if (!flux)
        throw erreur_usage{"impossible d'écrire le contre-exemple dans « " + chemin +
                           " » : " + cause_systeme(errno)};
    bool ecrit = std::fwrite(texte.data(), 1, texte.size(), flux) == texte.size();
    if (std::fclose(flux) != 0 || !ecrit)
        throw erreur_usage{"écriture incomplète du contre-exemple dans « " + chemin + " »"};
}

// Each input file is read once: its text is kept for the counter-example.
struct textes_entree {
    std::string donnees, reference, reponse;
};

// The two results to compare, from the programs or from their output files;
// a failing reference is an erreur_entree.
void obtenir_resultats(const options_corriger& o, resultat_programme& attendu,
                       resultat_programme& obtenu, textes_entree& t) {
    if (o.sorties) {
        std::string texte_attendu = lire_fichier(o.fichiers[0]);
        std::string texte_obtenu = lire_fichier(o.fichiers[1]);
        attendu = lire_sorties(o.fichiers[0], texte_attendu);
        obtenu = lire_sorties(o.fichiers[1], texte_obtenu);
        return;
    }
    bool avec_donnees = o.fichiers.size() == 3;
    if (avec_donnees) t.donnees = lire_fichier(o.fichiers[0]);
    t.reference = lire_fichier(o.fichiers[avec_donnees ? 1 : 0]);
    t.reponse = lire_fichier(o.fichiers[avec_donnees ? 2 : 1]);
    attendu = lancer_programme(t.donnees, avec_donnees, t.reference);
    if (attendu.erreur)
        throw erreur_entree{"la référence s'arrête sur une erreur : " +
                            texte_erreur(*attendu.erreur)};
    obtenu = lancer_programme(t.donnees, avec_donnees, t.reponse);
}

// Compares, searches a counter-example if asked, prints the report; answers
// the exit status. A report that standard output refuses is a failure.
int corriger(const options_corriger& o) {
    resultat_programme attendu, obtenu;
    textes_entree t;
    obtenir_resultats(o, attendu, obtenu, t);
    bilan_correction bilan = comparer_resultats(attendu, obtenu);
    std::optional<contre_exemple> ce;
    if (o.contre_exemple && !bilan.identique) {
        ce = chercher_contre_exemple(t.donnees, t.reference, t.reponse, o.secondes);
        if (ce->trouve) ecrire_fichier(*o.contre_exemple, ce->texte);
    }
    std::string rapport = o.json ? ecrire_rapport_json(bilan)
                                 : ecrire_rapport_texte(bilan, o.max_lignes, ce ? &*ce : nullptr,
                                                        o.contre_exemple.value_or(""), o.secondes);
    if (std::fputs(rapport.c_str(), stdout) < 0 || std::fflush(stdout) != 0)
        throw erreur_entree{"le rapport n'a pas pu être écrit sur la sortie standard"};
    return bilan.identique ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    options_corriger o;
    try {
        o = lire_options(argc, argv);
    } catch (const erreur_usage& e) {
        return signaler_usage(PROGRAMME, e, USAGE_CORRIGER);
    }
    if (o.aide) {
        std::printf("usage : %s\n", USAGE_CORRIGER);
        return 0;
    }
    try {
        return corriger(o);
    } catch (const erreur_usage& e) {
        if (o.json) std::fputs(ecrire_json_erreur().c_str(), stdout);
        return signaler_usage(PROGRAMME, e, USAGE_CORRIGER);
    } catch (const erreur_entree& e) {
        if (o.json) std::fputs(ecrire_json_erreur().c_str(), stdout);
        std::fprintf(stderr, "%s : %s\n", PROGRAMME, e.message.c_str());
        return 2;
    }
}
