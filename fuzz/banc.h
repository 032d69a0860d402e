// The bench the fuzz targets share: a private folder for the files of a run,
// the run itself through the in-process entry, and the checks that hold after
// any run, whatever its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct banc_fuzz {
    std::string dossier;
    std::string donnees;
    std::string commandes;
    std::string sortie;
    std::string relecture_commandes;
    std::string relecture_sortie;
};

extern banc_fuzz banc;

// Creates the folder (in /dev/shm when it can), sets the memory ceiling and
// arranges for the folder to be removed at exit.
void preparer_banc();

// Writes `taille` bytes at `chemin`, replacing the file.
void ecrire_fichier(const std::string& chemin, const uint8_t* octets, size_t taille);

// Runs the interpreter with these arguments; aborts on a status other than
// 0 or 1 (only a scanner failure gives 2, and a file always reads cleanly).
int lancer(const char* premier, const char* second, const char* troisieme = nullptr);

// Reads the output of the run back as a data file and lists every relation it
// holds again: the second listing must be the first, byte for byte. Aborts
// when it is not.
void verifier_relecture();
