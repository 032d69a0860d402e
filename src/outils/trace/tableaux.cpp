#include "outils/trace/tableaux.h"

#include <algorithm>
#include <string_view>

namespace {

// The strokes of a frame: for the top, middle and bottom rules, the left,
// crossing and right pieces; then the horizontal and vertical strokes.
struct traits {
    const char* coins[3][3];
    const char* horizontal;
    const char* vertical;
};

const traits TRAITS_ASCII = {{{"+", "+", "+"}, {"+", "+", "+"}, {"+", "+", "+"}}, "-", "|"};
const traits TRAITS_UNICODE = {
    {{"┌", "┬", "┐"}, {"├", "┼", "┤"}, {"└", "┴", "┘"}}, "─", "│"};

// The width of each column: its widest cell, header included, at least 1.
std::vector<size_t> largeurs(const tableau& t) {
    std::vector<size_t> l(t.entete.size(), 1);
    for (size_t c = 0; c < t.entete.size(); c++) l[c] = std::max(l[c], largeur_affichee(t.entete[c]));
    for (const auto& ligne : t.lignes)
        for (size_t c = 0; c < ligne.size() && c < l.size(); c++)
            l[c] = std::max(l[c], largeur_affichee(ligne[c]));
    return l;
}

// `texte` padded to `largeur` columns, on the left when `droite`.
void ajouter_cellule(std::string& sortie, const std::string& texte, size_t largeur, bool droite) {
    std::string marge(largeur - std::min(largeur, largeur_affichee(texte)), ' ');
    sortie += droite ? marge + texte : texte + marge;
}

bool colonne_a_droite(const tableau& t, size_t c) { return c < t.a_droite.size() && t.a_droite[c]; }

// One rule of the frame: `rang` 0 top, 1 middle, 2 bottom.
void ajouter_regle(std::string& sortie, const std::vector<size_t>& l, const traits& tr, int rang) {
    sortie += tr.coins[rang][0];
    for (size_t c = 0; c < l.size(); c++) {
        if (c > 0) sortie += tr.coins[rang][1];
        for (size_t k = 0; k < l[c] + 2; k++) sortie += tr.horizontal;
    }
    sortie += tr.coins[rang][2];
    sortie += '\n';
}

// One row of cells between `debut`, `separateur` and `fin`.
void ajouter_rangee(std::string& sortie, const tableau& t, const std::vector<std::string>& cellules,
                    const std::vector<size_t>& l, const char* debut, const char* separateur,
                    const char* fin) {
    sortie += debut;
    for (size_t c = 0; c < l.size(); c++) {
        if (c > 0) sortie += separateur;
        ajouter_cellule(sortie, c < cellules.size() ? cellules[c] : "", l[c],
                        colonne_a_droite(t, c));
    }
    sortie += fin;
    sortie += '\n';
}

// The line that tells how many rows were left out.
std::string lignes_de_plus(int64_t n) {
    return "... et " + std::to_string(n) + (n > 1 ? " lignes de plus" : " ligne de plus");
}

// The title, then the framed table and the rows left out.
void rendre_texte(std::string& sortie, const tableau& t, bool unicode) {
    const traits& tr = unicode ? TRAITS_UNICODE : TRAITS_ASCII;
    sortie += t.titre + "\n";
    if (t.entete.empty()) return;
    std::vector<size_t> l = largeurs(t);
    std::string debut = std::string(tr.vertical) + " ";
    std::string separateur = std::string(" ") + tr.vertical + " ";
    std::string fin = std::string(" ") + tr.vertical;
    ajouter_regle(sortie, l, tr, 0);
    ajouter_rangee(sortie, t, t.entete, l, debut.c_str(), separateur.c_str(), fin.c_str());
    // An empty relation is closed right under its header.
    if (!t.lignes.empty()) ajouter_regle(sortie, l, tr, 1);
    for (const auto& ligne : t.lignes)
        ajouter_rangee(sortie, t, ligne, l, debut.c_str(), separateur.c_str(), fin.c_str());
    ajouter_regle(sortie, l, tr, 2);
    if (t.restantes > 0) sortie += lignes_de_plus(t.restantes) + "\n";
}

// `texte` with the characters that markdown would read as markup escaped.
std::string echapper_markdown(const std::string& texte) {
    std::string sortie;
    for (char c : texte) {
        if (std::string_view("\\`*_[]<>|").find(c) != std::string_view::npos) sortie += '\\';
        sortie += c;
    }
    return sortie;
}

// The title as a paragraph, then a pipe table (numbers aligned right).
void rendre_markdown(std::string& sortie, const tableau& t) {
    sortie += echapper_markdown(t.titre) + "\n\n";
    if (t.entete.empty()) return;
    tableau echappe = t;
    for (auto& c : echappe.entete) c = echapper_markdown(c);
    for (auto& ligne : echappe.lignes)
        for (auto& c : ligne) c = echapper_markdown(c);
    std::vector<size_t> l = largeurs(echappe);
    ajouter_rangee(sortie, echappe, echappe.entete, l, "| ", " | ", " |");
    sortie += "|";
    for (size_t c = 0; c < l.size(); c++)
        sortie += std::string(l[c] + 1, '-') + (colonne_a_droite(t, c) ? ":|" : "-|");
    sortie += "\n";
    for (const auto& ligne : echappe.lignes)
        ajouter_rangee(sortie, echappe, ligne, l, "| ", " | ", " |");
    sortie += "\n";
    if (t.restantes > 0) sortie += lignes_de_plus(t.restantes) + "\n\n";
}

// One CSV record of `champs`.
void ajouter_ligne_csv(std::string& sortie, const std::vector<std::string>& champs) {
    for (size_t c = 0; c < champs.size(); c++) {
        if (c > 0) sortie += ',';
        sortie += champ_csv(champs[c]);
    }
    sortie += "\n";
}

// The title as one field, the header, the rows, then a blank line.
void rendre_csv(std::string& sortie, const tableau& t) {
    ajouter_ligne_csv(sortie, {t.titre});
    if (!t.entete.empty()) {
        ajouter_ligne_csv(sortie, t.entete);
        for (const auto& ligne : t.lignes) ajouter_ligne_csv(sortie, ligne);
        if (t.restantes > 0) ajouter_ligne_csv(sortie, {lignes_de_plus(t.restantes)});
    }
    sortie += "\n";
}

// A code span holding `texte`, fenced by more backquotes than it holds in a row.
std::string code_markdown(const std::string& texte) {
    size_t plus_long = 0, suite = 0;
    for (char c : texte) {
        suite = c == '`' ? suite + 1 : 0;
        plus_long = std::max(plus_long, suite);
    }
    std::string barriere(plus_long + 1, '`');
    // A space keeps a backquote at either end apart from the fence.
    bool espace = !texte.empty() && (texte.front() == '`' || texte.back() == '`');
    std::string marge = espace ? " " : "";
    return barriere + marge + texte + marge + barriere;
}

} // namespace

size_t largeur_affichee(const std::string& texte) {
    size_t n = 0;
    for (char c : texte)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) n++;
    return n;
}

std::string champ_csv(const std::string& champ) {
    if (champ.find_first_of(",\"\r\n") == std::string::npos) return champ;
    std::string sortie = "\"";
    for (char c : champ) {
        if (c == '"') sortie += '"';
        sortie += c;
    }
    return sortie + "\"";
}

void rendre_tableau(std::string& sortie, const tableau& t, format_sortie format, bool unicode) {
    switch (format) {
    case format_sortie::markdown: rendre_markdown(sortie, t); break;
    case format_sortie::csv: rendre_csv(sortie, t); break;
    default: rendre_texte(sortie, t, unicode); break;
    }
}

void rendre_titre_etape(std::string& sortie, int32_t ligne, const std::string& texte,
                        format_sortie format) {
    std::string entree = "[ligne " + std::to_string(ligne) + "]";
    switch (format) {
    case format_sortie::markdown:
        sortie += "### " + entree + " " + code_markdown(texte) + "\n\n";
        break;
    case format_sortie::csv: ajouter_ligne_csv(sortie, {entree + " " + texte}); break;
    default: sortie += entree + " " + texte + "\n"; break;
    }
}

void rendre_remarque(std::string& sortie, const std::string& texte, format_sortie format) {
    switch (format) {
    case format_sortie::markdown: sortie += echapper_markdown(texte) + "\n\n"; break;
    case format_sortie::csv: ajouter_ligne_csv(sortie, {texte}); break;
    default: sortie += "  " + texte + "\n"; break;
    }
}

void vider(std::string& sortie, FILE* flux) {
    std::fwrite(sortie.data(), 1, sortie.size(), flux);
    sortie.clear();
}
