// Runs a program in-process, as algrel would run it, and keeps what it printed.
#pragma once

#include "outils/corriger/resultat.h"

#include <string>

// Runs the data text `donnees` (none when `avec_donnees` is false), then the
// command text `commandes`, on a fresh store, with standard error silenced:
// the error, if any, is kept in the result instead. Throws erreur_usage when
// a stream cannot be made.
resultat_programme lancer_programme(const std::string& donnees, bool avec_donnees,
                                    const std::string& commandes);
