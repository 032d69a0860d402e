#include "store/grands_blocs.h"

#include <sys/mman.h>

#include <new>

void* allouer_bloc(size_t octets) {
    if (octets < SEUIL_BLOC) return ::operator new(octets);
    void* bloc = mmap(nullptr, octets, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (bloc == MAP_FAILED) throw std::bad_alloc();
    // Only a hint: the system may have no huge pages to give.
    madvise(bloc, octets, MADV_HUGEPAGE);
    return bloc;
}

void liberer_bloc(void* bloc, size_t octets) {
    if (octets < SEUIL_BLOC) {
        ::operator delete(bloc);
        return;
    }
    munmap(bloc, octets);
}
