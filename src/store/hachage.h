// Fast hashes for the hash tables of the store and the operators: the keys
// are short fixed-width words (interned ids, inline texts), so a multiply and
// a final mix are enough.
#pragma once

#include "store/valeurs.h"

#include <cstdint>

// Spreads every bit of `h` over the whole word (the tables use high and low bits).
inline uint64_t melanger(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

// The hash of `nombre` ids, in order.
inline uint64_t hacher_ids(const id_valeur *ids, int32_t nombre) {
    uint64_t h = static_cast<uint64_t>(nombre);
    for (int32_t i = 0; i < nombre; i++)
        h = (h ^ ids[i]) * 0x9E3779B97F4A7C15ull;
    return melanger(h);
}
