// The two streams of a run and the output buffer in front of the output file.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The input file being parsed (data file, then command file).
extern FILE* yyin;
// The output file that receives the listings.
extern FILE* yyout;

// The output buffer, to append to directly; call vider_si_plein after.
std::string& tampon_sortie();

// Writes the output buffer out once it is large; a failed write raises the
// output-write error.
void vider_si_plein();

// Appends `texte` to the output buffer (then vider_si_plein).
void ecrire_sortie(std::string_view texte);

// Closes yyin, then writes out the buffer and closes yyout. Answers false when
// some output could not be written. Streams already closed are skipped.
bool fermer_flux();
