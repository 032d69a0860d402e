// An output file of algrel read back as what a program printed.
#pragma once

#include "outils/corriger/resultat.h"

#include <string>

// The listings of the output file `chemin` whose bytes are `texte`: the last
// listing of each name counts. A text that is not a sequence of listings is
// an erreur_entree naming the file and the line.
resultat_programme lire_sorties(const std::string& chemin, const std::string& texte);
