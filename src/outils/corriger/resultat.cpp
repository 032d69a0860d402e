#include "outils/corriger/resultat.h"

const releve_affiche* trouver_releve(const resultat_programme& resultat, const std::string& nom) {
    for (const releve_affiche& r : resultat.releves)
        if (r.nom == nom) return &r;
    return nullptr;
}

std::string texte_erreur(const erreur_notee& erreur) {
    std::string debut = "ERREUR ligne " + std::to_string(erreur.ligne) + " : ";
    // Code 0: a syntax error, unless the scanner itself failed.
    if (erreur.code == 0 &&
        (erreur.message == "parse error" || erreur.message == "parser stack overflow"))
        return debut + "erreur de syntaxe (" + erreur.message + ")";
    if (erreur.code == 0) return erreur.message;
    return debut + erreur.message;
}
