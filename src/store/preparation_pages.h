// A helper thread that maps the pages of large blocks before the store first
// writes them. The first write to a page of fresh memory stops the writer
// while the system clears the page (about 1.5 ms per MiB on a virtual
// machine); asked ahead, the helper pays that on the other core. It never
// changes a byte: the system maps the pages as if they were written
// (MADV_POPULATE_WRITE), and they stay zero. Where the system cannot, the
// requests are dropped and everything runs as before.
#pragma once

#include <cstddef>

// How far past its last write a block that fills in order asks for its
// pages, asking again once half of that is written: the helper then keeps
// ahead of the writes.
inline constexpr size_t AVANCE_PAGES = size_t{8} << 20;

// Asks that the pages within [debut, fin) be mapped; a hint, dropped when
// too many wait. Only for blocks mapped on their own (grands_blocs), which
// call oublier_pages before they are unmapped or moved.
void preparer_pages(void* debut, void* fin);

// Drops the requests within [bloc, bloc + octets) and waits while the helper
// is mapping pages there: before that block is unmapped or moved.
void oublier_pages(void* bloc, size_t octets);
