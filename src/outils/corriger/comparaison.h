// The comparison of what an answer printed with what the reference printed.
#pragma once

#include "outils/corriger/resultat.h"

#include <optional>
#include <string>
#include <vector>

enum statut_relation { IDENTIQUE, DIFFERENTE, ABSENTE };

// One relation the reference printed, against the answer's listing of it.
struct comparaison_relation {
    std::string nom;
    statut_relation statut = IDENTIQUE;
    std::vector<std::string> attributs_attendus;
    std::vector<std::string> attributs_obtenus; // empty when absent
    std::vector<std::string> attributs_manquants;
    std::vector<std::string> attributs_en_trop;
    // The rows are compared only when both have the same attributes; they are
    // written in the reference's attribute order. An absent relation misses
    // every row of the reference.
    std::vector<std::vector<std::string>> manquantes; // reference's slot order
    std::vector<std::vector<std::string>> en_trop;    // answer's slot order
};

struct bilan_correction {
    std::vector<comparaison_relation> relations;
    std::optional<erreur_notee> erreur_reponse;
    bool identique = true; // every relation identical and the answer ran cleanly
};

// Compares, by name, each relation of `attendu` with its listing in `obtenu`.
bilan_correction comparer_resultats(const resultat_programme& attendu,
                                    const resultat_programme& obtenu);

// True when the attribute lists hold the same names in another order.
bool ordre_different(const comparaison_relation& c);
