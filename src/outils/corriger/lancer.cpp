#include "outils/corriger/lancer.h"

#include "driver/execution.h"
#include "language/jetons.h"
#include "outils/commun/usage.h"
#include "store/relation.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>

namespace {

// A read stream over the bytes of `texte` (which the run never changes).
FILE* ouvrir_texte(const std::string& texte) {
    FILE* flux = texte.empty() ? std::fopen("/dev/null", "r")
                               : fmemopen(const_cast<char*>(texte.data()), texte.size(), "r");
    if (!flux) throw erreur_usage{"impossible de préparer l'exécution en mémoire"};
    return flux;
}

// executer_journal with standard error sent to /dev/null for the run: the
// interpreter prints its error there, and the report gives it instead.
int executer_en_silence(FILE* donnees, FILE* commandes) {
    std::fflush(stderr);
    int sauvegarde = dup(STDERR_FILENO);
    if (sauvegarde < 0) return executer_journal(donnees, commandes); // no stderr to silence
    int nul = open("/dev/null", O_WRONLY);
    if (nul >= 0) {
        dup2(nul, STDERR_FILENO);
        close(nul);
    }
    int statut = executer_journal(donnees, commandes);
    std::fflush(stderr);
    dup2(sauvegarde, STDERR_FILENO);
    close(sauvegarde);
    return statut;
}

// The last listing of each name among the run's @print statements, copied
// out of the store before the next run resets it.
std::vector<releve_affiche> copier_releves() {
    std::vector<std::string> ordre;
    std::map<std::string, const etat_releve*> dernier;
    for (const instruction_notee& ins : journal.instructions) {
        if (ins.mot != AT_PRINT || !ins.affichee) continue;
        const std::string& nom = ins.affichee->rel->nom;
        if (!dernier.count(nom)) ordre.push_back(nom);
        dernier[nom] = &*ins.affichee;
    }
    std::vector<releve_affiche> releves;
    for (const std::string& nom : ordre) {
        const etat_releve& etat = *dernier[nom];
        releves.push_back(releve_affiche{nom, attributs_releve(etat), lignes_releve(etat)});
    }
    return releves;
}

} // namespace

resultat_programme lancer_programme(const std::string& donnees, bool avec_donnees,
                                    const std::string& commandes) {
    FILE* flux_donnees = avec_donnees ? ouvrir_texte(donnees) : nullptr;
    FILE* flux_commandes = nullptr;
    try {
        flux_commandes = ouvrir_texte(commandes);
    } catch (const erreur_usage&) {
        if (flux_donnees) std::fclose(flux_donnees);
        throw;
    }
    int statut = executer_en_silence(flux_donnees, flux_commandes);
    resultat_programme resultat;
    resultat.releves = copier_releves();
    if (!journal.erreurs.empty())
        resultat.erreur = journal.erreurs.front();
    else if (statut != 0)
        resultat.erreur = erreur_notee{0, 0, "échec de lecture de l'entrée"};
    return resultat;
}
