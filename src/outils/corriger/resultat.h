// What a run of a program, or an output file of algrel, printed: the last
// listing of each name, and the first error of the run.
#pragma once

#include "driver/journal.h"

#include <optional>
#include <string>
#include <vector>

// One listing: a relation's attribute names and its live rows, as texts.
struct releve_affiche {
    std::string nom;
    std::vector<std::string> attributs;
    std::vector<std::vector<std::string>> lignes;
};

struct resultat_programme {
    // The last listing of each name printed, in the order of its first listing.
    std::vector<releve_affiche> releves;
    std::optional<erreur_notee> erreur; // the first error the run reported
};

// An input that cannot be compared: a failing reference, a file that is not
// an output of algrel. The program prints the message and ends with status 2.
struct erreur_entree {
    std::string message;
};

// The listing named `nom` in `resultat`, or null.
const releve_affiche* trouver_releve(const resultat_programme& resultat, const std::string& nom);

// The error as algrel prints it, on one line: "ERREUR ligne N : ...".
std::string texte_erreur(const erreur_notee& erreur);
