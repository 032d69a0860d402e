// A whole run of the interpreter, from the command line to the summary.
#pragma once

// Runs algrel with the command line `argv` (or answers --help and --version)
// and answers the exit status: 0 for a clean run, 1 after a catalogue error or
// a syntax error, 2 after a fatal scanner failure. Every state of an earlier
// run is forgotten first.
int executer_algrel(int argc, const char* const* argv);

// Puts every global of the interpreter back in its state at program start.
void reinitialiser_interpreteur();
