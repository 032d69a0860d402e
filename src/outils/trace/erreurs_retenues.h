// Standard error held back while a run goes, to be written out after the
// steps that came before the errors.
#pragma once

#include <cstdio>

// Where standard error goes meanwhile; `fichier` is null when it could not
// be held back (it then goes straight out).
struct erreurs_retenues {
    FILE* fichier = nullptr;
    int ancienne = -1; // the real standard error
};

// Sends standard error to a temporary file.
erreurs_retenues retenir_erreurs();

// Puts standard error back and writes out what it received meanwhile;
// answers how many bytes that was.
size_t rendre_erreurs(erreurs_retenues& r);
