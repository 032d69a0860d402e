// Memory for the large hash tables of the store: a block of several
// megabytes is mapped on its own and asks for huge pages, since its probes
// land anywhere in it and each one would otherwise miss the address cache
// (TLB); a smaller block comes from the ordinary heap.
#pragma once

#include <cstddef>

// From this size on, a block is mapped on its own, in huge pages (and comes
// zeroed).
inline constexpr size_t SEUIL_BLOC = size_t{4} << 20;

// A block of `octets` bytes, aligned for any type; std::bad_alloc when the
// system refuses it.
void* allouer_bloc(size_t octets);

// Gives back a block of allouer_bloc, of the same size.
void liberer_bloc(void* bloc, size_t octets);

template <typename T> struct allocateur_grand {
    using value_type = T;
    allocateur_grand() = default;
    template <typename U> allocateur_grand(const allocateur_grand<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(allouer_bloc(n * sizeof(T))); }
    void deallocate(T* p, size_t n) { liberer_bloc(p, n * sizeof(T)); }
    template <typename U> bool operator==(const allocateur_grand<U>&) const { return true; }
};
