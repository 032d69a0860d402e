// The two streams of a run and the output buffer in front of the output file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

// The input file being parsed (data file, then command file).
extern FILE* yyin;
// The output file that receives the listings.
extern FILE* yyout;

// Room for `n` more bytes at the end of the output buffer, which is handed
// to be written first when it is nearly full (a failed write, this one or
// the one before, raises the output-write error). Write there, then commit with valider_sortie.
char* reserver_sortie(size_t n);

// Commits the `n` bytes written at the place reserver_sortie answered.
void valider_sortie(size_t n);

// Appends `texte` to the output buffer.
void ecrire_sortie(std::string_view texte);

// Waits for the output written behind the listing (ecriture_differee.h),
// so that a write refused is reported by the listing that made it (the
// output-write error); the last bytes stay in the buffer, as before.
void achever_sortie();

// Closes yyin, then writes out the buffer and closes yyout. Answers false when
// some output could not be written. Streams already closed are skipped.
bool fermer_flux();
