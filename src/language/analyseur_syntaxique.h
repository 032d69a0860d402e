// The parser: reads the statements of one input file and runs the action of
// each phrase as soon as it is recognised.
#pragma once

// The most entries the parser's stack may hold.
inline constexpr int PROFONDEUR_MAX = 10000;

// Parses the current input: 0 when all of it was accepted, 1 after a syntax
// error ("parse error"), 2 when the stack is full ("parser stack overflow").
int yyparse();
