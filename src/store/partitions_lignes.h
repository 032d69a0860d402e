// Large sets of rows compared without a row index: the live rows are first
// grouped by the high bits of their hashes into partitions of a few
// thousand rows, in a pass that reads the slots in order; then each
// partition is settled with a small hash set that stays in cache. Equal rows
// share a partition and keep their slot order within it, so the answers are
// those of the row index (index_lignes.h), which a large relation would
// otherwise build at one cache miss per row and keep.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct relation;

// From this many slots on, partitions pay for themselves: below it, the
// row index fits in cache.
inline constexpr int64_t SEUIL_PARTITIONS = int64_t{1} << 17;

// Retires each live slot of `rel` from `debut` on that repeats a live row
// before it, the slots before `debut` holding distinct rows. False, with
// nothing done, when the memory it needs is refused.
bool retirer_repetitions_par_partitions(relation& rel, int64_t debut);

// For each slot of `a`, 1 when it holds a live row that `b` holds live too
// (the two relations have as many attributes); none when the memory it
// needs is refused.
std::optional<std::vector<uint8_t>> presences_par_partitions(const relation& a, const relation& b);
