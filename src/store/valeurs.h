// Interning of values and attribute names: each distinct text is stored once
// and rows hold fixed-width identifiers, so equal texts have equal ids.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

using id_valeur = uint32_t;
inline constexpr id_valeur ID_ABSENT = UINT32_MAX;

// The longest text that can be interned: the longest value or attribute name.
inline constexpr size_t MAX_TEXTE_INTERNE = 19;

// The id of `texte`, interned on first sight; a longer text raises 209.
id_valeur interner_valeur(std::string_view texte);

// Interns `nombre` texts into `ids`, in order; the lookups of one row are
// started together so that their memory accesses overlap.
void interner_valeurs(const std::string_view* textes, int32_t nombre, id_valeur* ids);

// The id of `texte` if it was ever interned, else ID_ABSENT; interns nothing.
// A text too long to be interned is never found.
id_valeur chercher_valeur(std::string_view texte);

// The interned texts, each as a length byte followed by its bytes, one after
// the other, with PLACE_COPIE bytes of padding at the end; `debuts` gives
// where each id's text starts. Read through texte_valeur and copier_texte.
struct textes_internes {
    std::vector<char> octets;
    std::vector<uint32_t> debuts;
};
extern textes_internes textes;

// Bytes that copier_texte may write, whatever the text's length.
inline constexpr size_t PLACE_COPIE = 24;

// The text behind an id returned by interner_valeur.
inline std::string_view texte_valeur(id_valeur id) {
    const char* debut = textes.octets.data() + textes.debuts[id];
    return std::string_view(debut + 1, static_cast<unsigned char>(debut[0]));
}

// Writes the text of `id` at `destination`, which has room for PLACE_COPIE
// bytes (the bytes past the text are scratch), and answers its length.
inline size_t copier_texte(char* destination, id_valeur id) {
    const char* debut = textes.octets.data() + textes.debuts[id];
    std::memcpy(destination, debut + 1, PLACE_COPIE);
    return static_cast<unsigned char>(debut[0]);
}

// Forgets every interned text (tests and in-process runs).
void reinitialiser_valeurs();
