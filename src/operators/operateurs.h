// The relational operators. Each reads its operands by name, checks them in a
// fixed order (the first failing check decides the error code), creates its
// result under the name given and fills it with rows built from stored ids.
#pragma once

#include "store/relation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// --- shared routines (outils.cpp)

// Position of the first attribute of `rel` named `nom`, or -1.
int32_t verifier_champ_relation(const relation& rel, std::string_view nom);
// Slot `slot` of relation `nom` as list text; none for a retired data slot.
// 203 for an unknown relation, 207 for a slot beyond the last.
std::optional<std::string> transformer_tuple_liste(std::string_view nom, int64_t slot);
// The operand `nom`, or erreur(203).
relation& operande_existante(std::string_view nom);
// The attribute list text of `rel` (its header slot).
std::string liste_attributs(const relation& rel);

// --- operators

void projection(std::string_view source, std::string_view resultat, std::string_view liste);
void selection(std::string_view source, std::string_view resultat, std::string_view attribut,
               char comparaison, std::string_view constante);
void selection_attribut(std::string_view source, std::string_view resultat,
                        std::string_view attribut1, char comparaison, std::string_view attribut2);
void renommer(std::string_view source, std::string_view resultat, std::string_view ancien,
              std::string_view nouveau);
int verifier_schema(std::string_view premier, std::string_view second);
int64_t verifier_presence_tuple(std::string_view premier, std::string_view second, int64_t slot);
void union_rel(std::string_view premier, std::string_view second, std::string_view resultat);
void difference(std::string_view premier, std::string_view second, std::string_view resultat);
relation& produit_cartesien(std::string_view gauche, std::string_view droite, std::string_view nom);
void jointure(std::string_view gauche, std::string_view droite, std::string_view resultat);
