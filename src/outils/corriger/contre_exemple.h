// The search for a small data file on which the reference and the answer
// still differ: @data statements are removed by delta debugging, every other
// statement is kept in place.
#pragma once

#include "outils/corriger/comparaison.h"

#include <string>
#include <vector>

// A statement of the data file, on one line, and whether it is an @data.
struct instruction_donnees {
    std::string texte;
    bool donnee = false;
};

struct contre_exemple {
    bool trouve = false;     // the data file, rewritten, still makes them differ
    bool interrompu = false; // time ran out: it may not be minimal
    std::string texte;       // the data file found
    int64_t nb_donnees = 0;  // @data statements kept
    int64_t nb_donnees_depart = 0;
    int64_t nb_essais = 0;                 // runs of both programs
    resultat_programme reference, reponse; // what each printed on it
    bilan_correction bilan;
};

// Cuts a data text into statements: each begins at an "@" that starts a word;
// its line ends become blanks. Text before the first one is kept as a statement.
std::vector<instruction_donnees> decouper_instructions(const std::string& texte);

// Looks, for at most `secondes` seconds, for a 1-minimal set of @data statements
// of `donnees` on which `reference` and `reponse` differ.
contre_exemple chercher_contre_exemple(const std::string& donnees, const std::string& reference,
                                       const std::string& reponse, long secondes);
