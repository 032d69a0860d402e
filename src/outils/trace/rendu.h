// The trace written as tables (texte, csv, markdown) and as one JSON document.
#pragma once

#include "outils/trace/etapes.h"
#include "outils/trace/options.h"

#include <cstdio>
#include <vector>

// Writes every step of `etapes` to `flux`: its heading, its remarks and its
// relations, each as a table of at most `o.max_lignes` rows.
void ecrire_etapes(FILE* flux, const std::vector<etape>& etapes, const options_trace& o);

// Writes the summary of every relation held to `flux`.
void ecrire_dictionnaire(FILE* flux, const options_trace& o);

// Writes the JSON document of the run to `flux`: every step with all its live
// rows, every error reported and the exit status `statut`.
void ecrire_json(FILE* flux, const std::vector<etape>& etapes,
                 const std::vector<erreur_notee>& erreurs, int statut);
