// Fast hashes for the hash tables of the store and the operators: the keys
// are short fixed-width words (interned ids, texts read as words). Every hash
// starts from a key drawn at random when a run starts, so that no input can
// be prepared to make many keys collide and the tables crawl.
#pragma once

#include "store/valeurs.h"

#include <cstdint>

// The key of this run's hashes (tirer_graine_hachage).
extern uint64_t graine_hachage;

// Draws a new key; only while no hash table holds anything.
void tirer_graine_hachage();

// Spreads every bit of `h` over the whole word (the tables use high and low bits).
inline uint64_t melanger(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

// Folds one more word into the hash `h`.
inline uint64_t combiner(uint64_t h, uint64_t mot) {
    h = (h ^ mot) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 32);
}

// The hash of `nombre` ids, in order.
inline uint64_t hacher_ids(const id_valeur* ids, int32_t nombre) {
    uint64_t h = graine_hachage ^ static_cast<uint64_t>(nombre);
    for (int32_t i = 0; i < nombre; i++) h = combiner(h, ids[i]);
    return melanger(h);
}
