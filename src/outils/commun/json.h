// The few pieces of JSON the companions write.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// `texte` as a JSON string, quotes included; control bytes and bytes that are
// not UTF-8 are escaped as \u00XX, so that the document is always valid.
std::string texte_json(std::string_view texte);

// A list of texts as a JSON array: ["a","b"].
std::string liste_json(const std::vector<std::string>& textes);

// A list of rows as a JSON array of arrays.
std::string lignes_json(const std::vector<std::vector<std::string>>& lignes);
