// Interning of values and attribute names: each distinct text is stored once
// and rows hold fixed-width identifiers, so equal texts have equal ids.
#pragma once

#include <cstdint>
#include <string_view>

using id_valeur = uint32_t;
inline constexpr id_valeur ID_ABSENT = UINT32_MAX;

// The id of `texte`, interned on first sight.
id_valeur interner_valeur(std::string_view texte);

// The id of `texte` if it was ever interned, else ID_ABSENT; interns nothing.
id_valeur chercher_valeur(std::string_view texte);

// The text behind an id returned by interner_valeur.
std::string_view texte_valeur(id_valeur id);

// Forgets every interned text (tests and in-process runs).
void reinitialiser_valeurs();
