// The command line of algrel-corriger.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct options_corriger {
    bool aide = false;
    bool sorties = false; // compare two output files of algrel
    bool json = false;
    long max_lignes = 10;                      // rows shown of each kind in the text report
    long secondes = 30;                        // time given to the counter-example search
    std::optional<std::string> contre_exemple; // where to write it
    std::vector<std::string> fichiers;         // [data] reference answer, or expected obtained
};

extern const char* const USAGE_CORRIGER;

// Reads the arguments after the program name; bad usage is an erreur_usage.
// A counter-example path that names one of the inputs is refused here,
// before any file is read.
options_corriger lire_options(int argc, const char* const* argv);
