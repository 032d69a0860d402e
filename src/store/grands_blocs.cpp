#include "store/grands_blocs.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr size_t GRANDE_PAGE = size_t{2} << 20;

// Kept before the start of each block of agrandir_bloc.
struct entete_bloc {
    size_t octets;  // bytes asked for
    size_t mappes;  // bytes mapped, header included; 0: malloc'd
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

size_t arrondir_grande_page(size_t octets) { return (octets + GRANDE_PAGE - 1) & ~(GRANDE_PAGE - 1); }

} // namespace

void* allouer_bloc(size_t octets) {
    void* bloc = octets < SEUIL_BLOC ? std::calloc(1, octets) : mapper_aligne(arrondir_grande_page(octets));
    if (!bloc) throw std::bad_alloc();
    return bloc;
}

void liberer_bloc(void* bloc, size_t octets) {
    if (octets < SEUIL_BLOC)
        std::free(bloc);
    else
        munmap(bloc, arrondir_grande_page(octets));
}

void* agrandir_bloc_zero(void* bloc, size_t ancien, size_t nouveau) {
    if (ancien >= SEUIL_BLOC) {
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
    size_t total = octets + sizeof(entete_bloc);
    if (total < SEUIL_BLOC && (!ancien || ancien->mappes == 0)) {
        auto* entete = static_cast<entete_bloc*>(std::realloc(ancien, total));
        if (!entete) return nullptr;
        *entete = entete_bloc{octets, 0};
        return entete + 1;
    }
    size_t mappes = arrondir_grande_page(total);
    if (ancien && ancien->mappes >= mappes) {
        ancien->octets = std::max(ancien->octets, octets);
        return bloc;
    }
    void* place;
    if (ancien && ancien->mappes != 0) {
        place = mremap(ancien, ancien->mappes, mappes, MREMAP_MAYMOVE);
        if (place == MAP_FAILED) return nullptr;
        madvise(place, mappes, MADV_HUGEPAGE);
    } else {
        place = mapper_aligne(mappes);
        if (!place) return nullptr;
        if (ancien) {
            std::memcpy(static_cast<entete_bloc*>(place) + 1, bloc, ancien->octets);
            std::free(ancien);
        }
    }
    auto* entete = static_cast<entete_bloc*>(place);
    *entete = entete_bloc{octets, mappes};
    return entete + 1;
}

void liberer_bloc_agrandi(void* bloc) {
    if (!bloc) return;
    entete_bloc* entete = entete_de(bloc);
    if (entete->mappes == 0)
        std::free(entete);
    else
        munmap(entete, entete->mappes);
}
