// Memory for the store's hash tables, slot arrays and texts: a block of
// several megabytes is mapped on its own, aligned on huge pages and asking
// for them, since a probe of a table lands anywhere in it and would
// otherwise miss the address cache (TLB), and each first touch of an
// ordinary page is a fault; a smaller block comes from the ordinary heap.
#pragma once

#include <cstddef>

// From this size on, a block is mapped on its own, in huge pages (and comes
// zeroed).
inline constexpr size_t SEUIL_BLOC = size_t{4} << 20;

// A block of `octets` zero bytes, aligned for any type; std::bad_alloc when
// the system refuses it.
void* allouer_bloc(size_t octets);

// Gives back a block of allouer_bloc, of the same size.
void liberer_bloc(void* bloc, size_t octets);

// Grows a block of allouer_bloc from `ancien` to `nouveau` bytes, keeping its
// content, the new bytes zero (nothing is ever written past a block's size);
// a large block is remapped, its pages kept. std::bad_alloc when the system
// refuses (the block is then left as it was).
void* agrandir_bloc_zero(void* bloc, size_t ancien, size_t nouveau);

// A block of allouer_bloc that knows its own size (kept just before it): its
// start is returned by agrandir_bloc and given back through
// liberer_bloc_agrandi. Its new bytes are not cleared.

// Grows `bloc` (null: none yet) to hold at least `octets` bytes, keeping its
// content; null when the system refuses (`bloc` is then left as it was).
void* agrandir_bloc(void* bloc, size_t octets);

// Asks for the pages of bytes [de, a) of a block of agrandir_bloc to be
// mapped ahead of their first write (preparation_pages.h), when the block
// is mapped on its own; nothing past its size is asked for.
void preparer_bloc_agrandi(void* bloc, size_t de, size_t a);

// Gives back a block of agrandir_bloc (null: nothing).
void liberer_bloc_agrandi(void* bloc);
