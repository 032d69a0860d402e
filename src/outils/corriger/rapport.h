// The report of a correction, for a person (French text) or for a script (JSON).
#pragma once

#include "outils/corriger/comparaison.h"
#include "outils/corriger/contre_exemple.h"

#include <string>

// The report, relation by relation, at most `max_lignes` rows shown of each
// kind, then the counter-example when `ce` is given, then the verdict line.
std::string ecrire_rapport_texte(const bilan_correction& bilan, long max_lignes,
                                 const contre_exemple* ce, const std::string& chemin_ce,
                                 long secondes);

// The JSON document of the comparison, on one line.
std::string ecrire_rapport_json(const bilan_correction& bilan);

// The JSON document when no comparison could be made.
std::string ecrire_json_erreur();

// A listing as algrel writes it, "@relation N:a,b" then one "@data N:..." a
// row, each line after `retrait`, at most `max_lignes` rows shown.
std::string ecrire_listing(const releve_affiche& r, const std::string& retrait, long max_lignes);
