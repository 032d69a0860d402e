#include "outils/commun/json.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at `texte[i]`, or 0.
size_t sequence_utf8(std::string_view texte, size_t i) {
    unsigned char c = static_cast<unsigned char>(texte[i]);
    size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (n == 0 || i + n > texte.size() || c >= 0xF5) return 0;
    for (size_t k = 1; k < n; k++)
        if ((static_cast<unsigned char>(texte[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

void echapper(std::string& sortie, unsigned char c) {
    char code[8];
    std::snprintf(code, sizeof code, "\\u%04x", c);
    sortie += code;
}

} // namespace

std::string texte_json(std::string_view texte) {
    std::string sortie = "\"";
    for (size_t i = 0; i < texte.size(); i++) {
        unsigned char c = static_cast<unsigned char>(texte[i]);
        if (c == '"' || c == '\\') {
            sortie += '\\';
            sortie += static_cast<char>(c);
        } else if (c == '\n') {
            sortie += "\\n";
        } else if (c == '\t') {
            sortie += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            echapper(sortie, c);
        } else if (c < 0x80) {
            sortie += static_cast<char>(c);
        } else if (size_t n = sequence_utf8(texte, i); n > 0) {
            sortie.append(texte.substr(i, n));
            i += n - 1;
        } else {
            echapper(sortie, c);
        }
    }
    return sortie + "\"";
}

std::string liste_json(const std::vector<std::string>& textes) {
    std::string sortie = "[";
    for (size_t i = 0; i < textes.size(); i++) {
        if (i > 0) sortie += ",";
        sortie += texte_json(textes[i]);
    }
    return sortie + "]";
}

std::string lignes_json(const std::vector<std::vector<std::string>>& lignes) {
    std::string sortie = "[";
    for (size_t i = 0; i < lignes.size(); i++) {
        if (i > 0) sortie += ",";
        sortie += liste_json(lignes[i]);
    }
    return sortie + "]";
}
