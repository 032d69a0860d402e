// Interning of values and attribute names: each distinct text is stored once
// and rows hold fixed-width identifiers, so equal texts have equal ids.
#pragma once

#include "store/grands_blocs.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using id_valeur = uint32_t;
inline constexpr id_valeur ID_ABSENT = UINT32_MAX;

// An integer written without a leading zero and below 10^9 is its own id:
// this bit and its value. No text of it is stored, and equal texts still have
// equal ids, since each such integer has only one writing.
inline constexpr id_valeur ID_ENTIER = 0x80000000u;

// The longest text that can be interned: the longest value or attribute name.
inline constexpr size_t MAX_TEXTE_INTERNE = 19;

// The id of `texte`, interned on first sight; a longer text raises 209.
id_valeur interner_valeur(std::string_view texte);

// Bytes that must be readable after the start of each text given to
// interner_valeurs (they are read whole, then ignored past the text).
inline constexpr size_t MARGE_LECTURE = 24;

// Interns `nombre` texts into `ids`; the lookups run ahead of the answers so
// that their memory accesses overlap. The texts are rows of `par_ligne`
// values (`nombre` a multiple of it), interned column by column. Each text
// is followed by MARGE_LECTURE readable bytes.
void interner_valeurs(const std::string_view* textes, int32_t nombre, id_valeur* ids,
                      int32_t par_ligne = 1);

// The id of `texte` if it may occur (an integer, or a text ever interned),
// else ID_ABSENT; interns nothing. A text too long to be interned is never found.
id_valeur chercher_valeur(std::string_view texte);

// The interned texts, each as a length byte followed by its bytes, one after
// the other, with PLACE_COPIE bytes of padding at the end. The id of an
// interned text is where it starts. Read through copier_texte.
struct textes_internes {
    char* octets = nullptr; // a block of agrandir_bloc (no copy when it grows)
    size_t taille = 0;      // bytes in use, padding included
    size_t capacite = 0;
    // Pages are asked for ahead (preparation_pages.h): up to byte
    // `octets_demandes`, and again once `prochaine_demande` is in use.
    size_t octets_demandes = 0;
    size_t prochaine_demande = 0;
    textes_internes() = default;
    textes_internes(const textes_internes&) = delete;
    textes_internes& operator=(const textes_internes&) = delete;
    ~textes_internes() { liberer_bloc_agrandi(octets); } // at exit too, for leak checkers
};
extern textes_internes textes;

// Bytes that copier_texte may write, whatever the text's length.
inline constexpr size_t PLACE_COPIE = 24;

// Writes the decimal digits of `valeur` (below 10^9) at `destination`, two
// at a time, and answers how many.
inline size_t ecrire_entier(char* destination, uint32_t valeur) {
    static constexpr char paires[] = "00010203040506070809101112131415161718192021222324"
                                     "25262728293031323334353637383940414243444546474849"
                                     "50515253545556575859606162636465666768697071727374"
                                     "75767778798081828384858687888990919293949596979899";
    size_t n = 1;
    for (uint32_t reste = valeur; reste >= 10; reste /= 10) n++;
    char* p = destination + n;
    while (valeur >= 100) {
        uint32_t paire = (valeur % 100) * 2;
        valeur /= 100;
        *--p = paires[paire + 1];
        *--p = paires[paire];
    }
    if (valeur >= 10) {
        *--p = paires[valeur * 2 + 1];
        *--p = paires[valeur * 2];
    } else {
        *--p = static_cast<char>('0' + valeur);
    }
    return n;
}

// Writes the text of `id` at `destination`, which has room for PLACE_COPIE
// bytes (the bytes past the text are scratch), and answers its length.
inline size_t copier_texte(char* destination, id_valeur id) {
    if (id & ID_ENTIER) return ecrire_entier(destination, id & ~ID_ENTIER);
    const char* debut = textes.octets + id;
    std::memcpy(destination, debut + 1, PLACE_COPIE);
    return static_cast<unsigned char>(debut[0]);
}

// Appends the text of `id` to `texte`.
inline void ajouter_texte_valeur(std::string& texte, id_valeur id) {
    char place[PLACE_COPIE];
    texte.append(place, copier_texte(place, id));
}

// Forgets every interned text (tests and in-process runs).
void reinitialiser_valeurs();
