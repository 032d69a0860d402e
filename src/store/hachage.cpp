#include "store/hachage.h"

#include <chrono>
#include <random>

uint64_t graine_hachage = 0x2545F4914F6CDD1Dull;

void tirer_graine_hachage() {
    uint64_t graine;
    try {
        std::random_device source;
        graine = uint64_t{source()} << 32 ^ source();
    } catch (const std::exception&) {
        graine = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    graine_hachage = melanger(graine ^ reinterpret_cast<uintptr_t>(&graine));
}
