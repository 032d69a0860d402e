// Tables and the lines around them, in the four forms of the trace.
//
// texte:    a title line, then a framed table, columns aligned on the widest
//           cell (ASCII +-| by default, box-drawing characters with unicode),
//           then "... et N lignes de plus" when rows were left out.
// markdown: the title as a paragraph, then a pipe table ('|' escaped).
// csv:      the title as one field, the header and the rows (RFC 4180
//           quoting where needed), then a blank line.
// A table with no header (a join's product) is its title alone.
#pragma once

#include "outils/trace/options.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct tableau {
    std::string titre;
    std::vector<std::string> entete;
    std::vector<bool> a_droite; // columns aligned to the right (numbers)
    std::vector<std::vector<std::string>> lignes;
    int64_t restantes = 0; // rows left out
};

// The display columns of `texte`: UTF-8 continuation bytes take none.
size_t largeur_affichee(const std::string& texte);

// Appends `t` to `sortie` in `format`.
void rendre_tableau(std::string& sortie, const tableau& t, format_sortie format, bool unicode);

// Appends a heading of a step ("[ligne N] texte") in `format`.
void rendre_titre_etape(std::string& sortie, int32_t ligne, const std::string& texte,
                        format_sortie format);

// Appends a remark line (a summary of rows, the relation printed...) in `format`.
void rendre_remarque(std::string& sortie, const std::string& texte, format_sortie format);

// `champ` as a CSV field, quoted when it holds a comma, a quote or a line end.
std::string champ_csv(const std::string& champ);

// Writes `sortie` to `flux` and empties it.
void vider(std::string& sortie, FILE* flux);
