// A whole run of the interpreter, from the command line to the summary.
#pragma once

#include <cstdio>

// Runs algrel with the command line `argv` (or answers --help and --version)
// and answers the exit status: 0 for a clean run, 1 after a catalogue error or
// a syntax error, 2 after a fatal scanner failure. Every state of an earlier
// run is forgotten first.
int executer_algrel(int argc, const char* const* argv);

// Runs the data file `donnees` (null when there is none), then the command
// file `commandes`, as algrel does, with the journal on (driver/journal.h): no
// banner, no output file, no summary. The run closes both streams. Answers
// algrel's exit status; the store and the journal stay readable until the
// next run.
int executer_journal(FILE* donnees, FILE* commandes);

// Puts every global of the interpreter back in its state at program start.
void reinitialiser_interpreteur();
