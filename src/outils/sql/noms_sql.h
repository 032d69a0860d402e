// The names a script gives to the relations and attributes of a run.
//
// Names of the language are exact texts, but SQLite and DuckDB match quoted
// identifiers without regard to case, and temporaries may hold any byte. So
// each name gets a SQL name: bytes outside printable ASCII written \xNN (only
// temporaries have them), then, among names equal but for case, the first met
// kept and the next ones followed by " 2", " 3"... (no name has a blank).
#pragma once

#include <map>
#include <string>
#include <vector>

struct noms_sql {
    std::map<std::string, std::string> relations;
    std::map<std::string, std::string> attributs;
};

// `texte` as a quoted SQL identifier, its double quotes doubled.
std::string citer_identifiant(const std::string& texte);

// `texte` as a SQL string literal, its single quotes doubled.
std::string citer_valeur(const std::string& texte);

// The SQL names of `noms` (in the order met), each distinct from the others
// even when case is ignored, and printable.
std::map<std::string, std::string> nommer_sans_casse(const std::vector<std::string>& noms);

// The SQL names of every relation of the run and of every attribute name.
noms_sql nommer_relations_attributs();
