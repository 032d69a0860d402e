// A small deterministic generator (splitmix64), shared by the workload
// generator and the micro-benchmarks: the same seed gives the same data on
// every platform, so every run measures the same thing.
#pragma once

#include <cstdint>

struct alea {
    uint64_t etat = 0x9e3779b97f4a7c15u;
    uint64_t suivant() {
        etat += 0x9e3779b97f4a7c15u;
        uint64_t z = etat;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }
    // A number in 0..n-1 (0 when n is 0).
    unsigned borne(uint64_t n) { return static_cast<unsigned>(suivant() % (n ? n : 1)); }
};
