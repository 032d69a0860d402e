// A helper thread that writes a full output buffer to its file while the
// store goes on listing into the other one. Copying a large listing into the
// system's file cache is a good part of a long run (fresh cache pages are
// cleared first); on the other core it overlaps the listing itself. It
// changes nothing that is written nor where a failure is reported: one
// buffer at most is under way, and the caller waits for it before the next
// one and before a listing ends (flux.cpp).
#pragma once

#include <cstddef>
#include <cstdio>

// Starts writing the `taille` bytes at `octets` to `flux`, which nothing
// else uses until attendre_ecriture; the bytes must stay as they are until
// then. Answers false, starting nothing, when the system refuses the thread:
// the caller then writes them itself. None may be under way.
bool ecrire_plus_tard(FILE* flux, const char* octets, size_t taille);

// Waits for the write under way, if any; answers false when the file took
// fewer bytes than it was given (true when none was under way).
bool attendre_ecriture();
