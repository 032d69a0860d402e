// The numbered error catalogue, the syntax-error report and the way a run
// ends: every end is an exception that the entry point catches, so a whole run
// can also be driven in-process by the tests and the fuzzer.
#pragma once

// The failing write of the output file (its message is in the catalogue too).
inline constexpr int CODE_ECRITURE_SORTIE = 304;

// Thrown to end the run; `statut` is the process exit status.
struct fin_execution {
    int statut;
};

// Prints the error line and the message of `code` on standard error.
void afficher_message_erreur(int code);

// Reports `code`, releases the store and the streams (except for the command
// line and file-opening codes 300 to 302) and ends the run with status 1.
[[noreturn]] void erreur(int code);

// Reports a syntax error of the parser ("parse error", "parser stack overflow").
void yyerror(const char* message);

// True once yyerror has reported something during this run.
extern bool erreur_syntaxe_signalee;

// A fatal scanner failure: prints `message` and ends the run with status 2,
// after writing out what the output file has received so far.
[[noreturn]] void echec_analyseur(const char* message);
