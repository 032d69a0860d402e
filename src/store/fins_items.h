// The items of a row's list, found once: where each one ends. The scanner
// notes them as it reads a list, so that the insertion of the row need not
// read its bytes again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The longest list a statement accepts.
inline constexpr size_t MAX_LISTE = 180;

// The offset past each item of a list of at most MAX_LISTE characters (that
// of the comma after it, or the list's length), in order.
struct fins_items {
    int32_t nombre = 0;
    uint8_t fins[MAX_LISTE + 1];
};
static_assert(MAX_LISTE < 256, "an item's end must fit in a byte");

// The items of `liste`, at most MAX_LISTE characters, split at each comma.
inline void decouper_items(std::string_view liste, fins_items& items) {
    items.nombre = 0;
    for (size_t i = 0; i < liste.size(); i++)
        if (liste[i] == ',') items.fins[items.nombre++] = static_cast<uint8_t>(i);
    items.fins[items.nombre++] = static_cast<uint8_t>(liste.size());
}
