// What the trace reads of the store: a relation's rows as they stood at a
// snapshot (only as many as are shown), and the final counts of every relation.
#pragma once

#include "driver/journal.h"
#include "outils/trace/tableaux.h"

#include <cstdint>
#include <string>
#include <vector>

// The values of one stored slot of `etat`'s relation, as texts.
std::vector<std::string> lire_slot(const etat_releve& etat, int64_t slot);

// The first live slot of `etat` after slot `apres`, or etat.stockes when
// there is none: `for (s = slot_vivant_suivant(e, 0); s < e.stockes; ...)`.
int64_t slot_vivant_suivant(const etat_releve& etat, int64_t apres);

// The table of `etat`: its title, header and up to `max` rows (0: all). A
// product is its title alone.
tableau tableau_releve(const etat_releve& etat, bool produit, int64_t max);

// The final name, attribute count, slots in use and live rows of every
// relation held, in creation order.
struct compte_relation {
    std::string nom;
    int32_t col = 0;
    int64_t tupl = 0;
    int64_t t_act = 0;
};
std::vector<compte_relation> compter_relations();

// The summary of every relation held, as a table.
tableau tableau_dictionnaire(const std::vector<compte_relation>& comptes);
