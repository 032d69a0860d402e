// Waiting rows settled through the few that may repeat an earlier row. A
// row that holds, in some attribute, an id greater than every stored one
// differs from all rows before it: only the other waiting rows, the
// doubtful ones, can be repeats. When they are few, they alone go into a
// small hash set, and one pass over the live slots, in order, finds the
// earlier rows that they repeat: no room is needed for the rows of the whole
// relation, as partitions (partitions_lignes.h) or the row index would.
#pragma once

#include "store/valeurs.h"

struct relation;

// Retires each waiting slot of `rel`, from `debut` on, that repeats a live
// row before it, through its doubtful rows. False, with nothing done, when
// they are too many, or when the memory their set needs is refused.
bool retirer_repetitions_douteuses(relation& rel, int64_t debut);
