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

// Notes the row `valeurs` about to be appended to `rel` as a waiting row:
// its slot is kept when it is doubtful, while they stay few.
void noter_ligne_en_attente(relation& rel, const id_valeur* valeurs);

// Retires each waiting slot of `rel` that repeats a live row before it,
// through its doubtful rows. False, with nothing done, when they were too
// many to be kept, or when the memory the set needs is refused.
bool retirer_repetitions_douteuses(relation& rel);
