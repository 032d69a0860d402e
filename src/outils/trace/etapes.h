// The steps of a trace: the journal's entries as the user reads them. A step
// is one @relation, @let or @print statement; the run of @data statements
// directly after an @relation (same file) is folded into it, and any other
// run of @data statements is a step of its own.
#pragma once

#include "driver/journal.h"

#include <optional>
#include <string>
#include <vector>

struct etape {
    int32_t ligne = 0;
    std::string texte;   // the statement as written, or the summary of a run of @data
    std::string donnees; // the summary of the @data folded into an @relation, else empty
    std::vector<etat_releve> relations; // created or filled, in creation order, at its end
    std::optional<etat_releve> affichee; // the relation an @print listed
    bool interrompue = false; // an error stopped it
    std::vector<std::string> produits; // names of the joins' products among `relations`
};

// True when `nom` is one of the step's join products (counts only, no rows).
bool est_produit(const etape& e, const std::string& nom);

// The steps of the journal's entries, in the order they ran.
std::vector<etape> regrouper_etapes(const std::vector<instruction_notee>& instructions);

// "@data : 3 lignes pour R, dont 1 répétée" for each relation a run of @data filled.
std::string resumer_donnees(const instruction_notee& donnees);

// "1 ligne", "2 lignes", "0 ligne": `n` and the noun agreed with it.
std::string accorder(int64_t n, const std::string& singulier, const std::string& pluriel);
