// The scanner: cuts the input stream yyin into tokens, counting lines.
#pragma once

#include "store/fins_items.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// The current input line: 1 at start, one more per newline consumed, never reset.
extern int32_t num_ligne;
// The text of the last value token (IDENT, LISTE, OPERATEUR), in the
// scanner's buffer: valid until the next call, the parser copies it.
extern std::string_view yylval;
// The items of the last IDENT or LISTE token, complete when it has at most
// MAX_LISTE characters: the insertion of a row takes them from here.
extern fins_items yyitems;
// The text and length of the token just returned, valid until the next call.
extern const char* yytext;
extern size_t yyleng;

// The next token code (jetons.h), FIN_ENTREE once the input is exhausted.
int yylex();
// Consulted at the end of the input: there is never a further input (1).
int yywrap();
// Makes the scanner read `flux` from its first byte, dropping the read-ahead.
void yyrestart(FILE* flux);
// With the journal on: the statement keywords read from the current input,
// and the text of the statement that the `mot`-th of them began, when it is
// the last or the one before (else empty).
int64_t mots_instruction_lus();
std::string texte_instruction(int64_t mot);
// Puts the scanner back in its state at program start (tests).
void reinitialiser_analyseur_lexical();
