// What the companion programs share for their command lines: a usage error
// that ends the program with status 2 and a French message, and input files
// opened without ever creating or truncating anything.
#pragma once

#include <cstdio>
#include <string>

// Thrown for bad usage; the program prints "<programme> : <message>" and its
// usage line on standard error, and ends with status 2.
struct erreur_usage {
    std::string message;
};

// The cause of a failed system call, in French (the system's own texts
// follow the locale, which is often English or C).
std::string cause_systeme(int code_errno);

// Opens `chemin` for reading; a missing, unreadable file or a directory is an
// erreur_usage.
FILE* ouvrir_lecture(const std::string& chemin);

// Opens the data file `*chemin_donnees` (none when null) and the command file
// `chemin_commandes` into `donnees` and `commandes`; same errors as
// ouvrir_lecture, and nothing stays open when one fails.
void ouvrir_entrees(const std::string* chemin_donnees, const std::string& chemin_commandes,
                    FILE*& donnees, FILE*& commandes);

// Reads the whole of `chemin`; same errors as ouvrir_lecture.
std::string lire_fichier(const std::string& chemin);

// True when `a` and `b` name the same existing file, however spelled.
bool meme_fichier(const std::string& a, const std::string& b);

// A whole number of at least 0 given to option `option`, else erreur_usage.
long lire_nombre(const std::string& option, const std::string& texte);

// Prints an erreur_usage for `programme` with its `usage` line; answers 2.
int signaler_usage(const char* programme, const erreur_usage& e, const char* usage);
