// Interning of values and attribute names: each distinct text is stored once
// and rows hold fixed-width identifiers, so equal texts have equal ids.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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

// The text behind an id returned by interner_valeur.
std::string_view texte_valeur(id_valeur id);

// Forgets every interned text (tests and in-process runs).
void reinitialiser_valeurs();
