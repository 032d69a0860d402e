// A ceiling on the memory that stored rows and texts may take, so that an
// input asking for more than the machine has ends with "memoire insuffisante"
// (code 400) instead of being killed by the system.
#pragma once

#include <cstddef>

// Counts `octets` more; past the ceiling raises erreur(400).
void compter_memoire(size_t octets);

// Counts `octets` more and answers true, or answers false past the ceiling
// (counting nothing): for callers with an error of their own.
bool essayer_memoire(size_t octets);

// Counts `octets` fewer, for memory given back (a join's working index).
void decompter_memoire(size_t octets);

// Sets the ceiling (0: three quarters of the memory the process may have).
void fixer_limite_memoire(size_t octets);

// Clears the count, keeping the ceiling (a new run in the same process).
void remettre_compteur_memoire();
