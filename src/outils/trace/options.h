// The command line of algrel-trace.
#pragma once

#include <string>

enum class format_sortie { texte, json, csv, markdown };

struct options_trace {
    long max_lignes = 20; // rows shown per table; 0 shows them all
    bool unicode = false; // box-drawing frames instead of ASCII
    format_sortie format = format_sortie::texte;
    bool aide = false;
    std::string donnees;   // empty when there is no data file
    std::string commandes;
};

// The usage line, after "usage : ".
extern const char* const USAGE_TRACE;

// Reads the arguments (argv[1..argc)); options may come before, between or
// after the files, "--" ends them. Bad usage is an erreur_usage.
options_trace lire_options(int argc, const char* const* argv);
