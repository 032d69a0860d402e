// The SQL script that does the work of a run, written from its journal.
#pragma once

#include <string>

enum dialecte_sql { DIALECTE_SQLITE, DIALECTE_POSTGRESQL, DIALECTE_DUCKDB };

// The script of the run just made (journal and store still readable), for
// `dialecte`; `origine` names the program, for the script's first comment.
std::string ecrire_script(const std::string& origine, dialecte_sql dialecte);
