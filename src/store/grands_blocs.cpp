#include "store/grands_blocs.h"

#include "store/preparation_pages.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr size_t GRANDE_PAGE = size_t{2} << 20;

// Kept before the start of each block of agrandir_bloc (16 bytes, so that
// the block stays aligned for any type).
struct entete_bloc {
    size_t octets; // bytes asked for
    size_t inutilise;
};

entete_bloc* entete_de(void* bloc) { return static_cast<entete_bloc*>(bloc) - 1; }

// A mapping of `octets` bytes (a multiple of GRANDE_PAGE) that starts on a
// huge page, or null: a larger one is mapped, then its ends given back.
void* mapper_aligne(size_t octets) {
    size_t large = octets + GRANDE_PAGE;
    void* bloc = mmap(nullptr, large, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (bloc == MAP_FAILED) return nullptr;
    uintptr_t debut = reinterpret_cast<uintptr_t>(bloc);
    uintptr_t aligne = (debut + GRANDE_PAGE - 1) & ~(GRANDE_PAGE - 1);
    if (aligne > debut) munmap(bloc, aligne - debut);
    size_t apres = debut + large - (aligne + octets);
    if (apres > 0) munmap(reinterpret_cast<void*>(aligne + octets), apres);
    madvise(reinterpret_cast<void*>(aligne), octets, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligne);
}

size_t arrondir_grande_page(size_t octets) {
    return (octets + GRANDE_PAGE - 1) & ~(GRANDE_PAGE - 1);
}

} // namespace

void* allouer_bloc(size_t octets) {
    void* bloc =
        octets < SEUIL_BLOC ? std::calloc(1, octets) : mapper_aligne(arrondir_grande_page(octets));
    if (!bloc) throw std::bad_alloc();
    return bloc;
}

void liberer_bloc(void* bloc, size_t octets) {
    if (octets < SEUIL_BLOC) {
        std::free(bloc);
        return;
    }
    oublier_pages(bloc, arrondir_grande_page(octets));
    munmap(bloc, arrondir_grande_page(octets));
}

void* agrandir_bloc_zero(void* bloc, size_t ancien, size_t nouveau) {
    if (ancien >= SEUIL_BLOC) {
        if (arrondir_grande_page(nouveau) == arrondir_grande_page(ancien)) return bloc;
        oublier_pages(bloc, arrondir_grande_page(ancien));
        void* place = mremap(bloc, arrondir_grande_page(ancien), arrondir_grande_page(nouveau),
                             MREMAP_MAYMOVE);
        if (place == MAP_FAILED) throw std::bad_alloc();
        madvise(place, arrondir_grande_page(nouveau), MADV_HUGEPAGE);
        return place;
    }
    if (nouveau < SEUIL_BLOC) {
        void* place = std::realloc(bloc, nouveau);
        if (!place) throw std::bad_alloc();
        std::memset(static_cast<char*>(place) + ancien, 0, nouveau - ancien);
        return place;
    }
    void* place = allouer_bloc(nouveau);
    std::memcpy(place, bloc, ancien);
    liberer_bloc(bloc, ancien);
    return place;
}

void* agrandir_bloc(void* bloc, size_t octets) {
    entete_bloc* ancien = bloc ? entete_de(bloc) : nullptr;
    size_t avant = ancien ? ancien->octets + sizeof(entete_bloc) : 0;
    size_t apres = octets + sizeof(entete_bloc);
    if (apres <= avant) return bloc;
    void* place;
    if (apres < SEUIL_BLOC) {
        // Left uncleared: a small block's room past what its owner wrote is
        // never read, and clearing it would make every page of it resident.
        place = std::realloc(ancien, apres);
        if (!place) return nullptr;
    } else {
        try {
            place = ancien ? agrandir_bloc_zero(ancien, avant, apres) : allouer_bloc(apres);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    auto* entete = static_cast<entete_bloc*>(place);
    entete->octets = octets;
    return entete + 1;
}

void preparer_bloc_agrandi(void* bloc, size_t de, size_t a) {
    if (!bloc) return;
    const entete_bloc* entete = entete_de(bloc);
    if (entete->octets + sizeof(entete_bloc) < SEUIL_BLOC) return;
    a = std::min(a, entete->octets);
    if (de < a) preparer_pages(static_cast<char*>(bloc) + de, static_cast<char*>(bloc) + a);
}

void liberer_bloc_agrandi(void* bloc) {
    if (!bloc) return;
    entete_bloc* entete = entete_de(bloc);
    liberer_bloc(entete, entete->octets + sizeof(entete_bloc));
}
