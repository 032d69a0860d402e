// The slots of a relation: storage that doubles as it fills, and the
// retirement of repeated rows. A row appended through ajouter_ligne waits to
// be compared with the earlier ones until the relation is read: then all the
// rows waiting are compared together, the set sized for them at once and
// their lookups overlapping in memory.
#include "driver/erreurs.h"
#include "store/grands_blocs.h"
#include "store/lignes_douteuses.h"
#include "store/memoire.h"
#include "store/partitions_lignes.h"
#include "store/preparation_pages.h"
#include "store/relation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

// Grows `tableau` to `nombre` elements, keeping its content; a refusal of
// the system is the memory error.
template <typename T> static void agrandir(tableau_slots<T>& tableau, size_t nombre) {
    void* nouveau = agrandir_bloc(tableau.get(), nombre * sizeof(T));
    if (!nouveau) erreur(400);
    (void)tableau.release();
    tableau.reset(static_cast<T*>(nouveau));
}

// Asks for the pages of both slot arrays up to AVANCE_PAGES bytes past the
// last stored slot (the slots fill in order); asks again once half of them
// are written.
static void demander_pages(relation& rel) {
    int64_t largeur = rel.nb_champs * static_cast<int64_t>(sizeof(id_valeur));
    int64_t pas = std::max<int64_t>(2, static_cast<int64_t>(AVANCE_PAGES) / largeur);
    int64_t debut = std::max(rel.stockes, rel.slots_demandes);
    int64_t fin = std::min(rel.capacite, rel.stockes + pas);
    if (debut < fin) {
        preparer_bloc_agrandi(rel.valeurs.get(), static_cast<size_t>(debut * largeur),
                              static_cast<size_t>(fin * largeur));
        preparer_bloc_agrandi(rel.actifs.get(), static_cast<size_t>(debut),
                              static_cast<size_t>(fin));
        rel.slots_demandes = fin;
    }
    rel.prochaine_demande = std::min(rel.capacite, rel.stockes + pas / 2);
}

// Makes room for one more stored slot; the room doubles each time it fills.
static void reserver_slot(relation& rel) {
    if (rel.stockes < rel.prochaine_demande) return;
    if (rel.stockes < rel.capacite) return demander_pages(rel);
    int64_t nouvelle = std::max<int64_t>(4, rel.capacite * 2);
    if (nouvelle > int64_t{UINT32_MAX}) erreur(400);
    size_t champs = static_cast<size_t>(rel.nb_champs);
    // Each slot: its ids, its flag, and about 10 bytes of the row index.
    compter_memoire(static_cast<size_t>(nouvelle - rel.capacite) *
                    (champs * sizeof(id_valeur) + 1 + 10));
    agrandir(rel.valeurs, static_cast<size_t>(nouvelle) * champs);
    agrandir(rel.actifs, static_cast<size_t>(nouvelle));
    rel.capacite = nouvelle;
    // Requests that were waiting were dropped when the arrays moved.
    rel.slots_demandes = rel.stockes;
    demander_pages(rel);
}

static void empiler_slot(relation& rel, const id_valeur* valeurs, uint8_t actif) {
    reserver_slot(rel);
    id_valeur* place = rel.valeurs.get() + rel.stockes * rel.nb_champs;
    for (int32_t i = 0; i < rel.nb_champs; i++) place[i] = valeurs[i];
    rel.actifs[rel.stockes++] = actif;
    rel.nb_tuples++;
    if (actif) rel.nb_actifs++;
}

void verifier_doublon(relation& rel) {
    if (rel.en_attente == 0) return;
    int64_t fin = nb_slots_stockes(rel);
    int64_t debut = fin - rel.en_attente;
    rel.en_attente = 0;
    // A large relation without its index is settled through its doubtful
    // rows, or else by partitions, and left without it. Its next settle
    // builds the index and keeps it, so that rows added in small batches
    // between reads are not compared with every row each time.
    bool sans_index = !rel.index_valide || rel.index.nombre == 0;
    bool reglee_sans_index = sans_index && !rel.garder_index && fin >= SEUIL_PARTITIONS &&
                             (retirer_repetitions_douteuses(rel, debut) ||
                              retirer_repetitions_par_partitions(rel, debut));
    if (reglee_sans_index) {
        liberer_index(rel);
        rel.garder_index = true;
        return;
    }
    if (!rel.index_valide) reconstruire_index(rel, debut);
    // Room for all of them at once: the set never grows row by row.
    reserver_table(rel.index, rel.index.nombre + static_cast<size_t>(fin - debut));
    indexer_lignes(rel, debut, fin, true);
    // A small relation's index is given back once its rows are settled: most
    // relations are only read from then on, and a program of many would keep
    // it for nothing. Once rebuilt, it is kept, so that rows added after
    // reads cost one rebuild at most.
    if (!rel.garder_index && rel.index.capacite * sizeof(entree_ligne) < SEUIL_BLOC)
        liberer_index(rel);
}

int comparer_champ_champ(const relation& rel, int64_t a, int64_t b) {
    size_t taille = static_cast<size_t>(rel.nb_champs) * sizeof(id_valeur);
    return std::memcmp(valeurs_slot(rel, a), valeurs_slot(rel, b), taille) == 0 ? 1 : 0;
}

void ajouter_ligne(relation& rel, const id_valeur* valeurs) {
    empiler_slot(rel, valeurs, 1);
    rel.en_attente++;
}

void ajouter_ligne_distincte(relation& rel, const id_valeur* valeurs) {
    verifier_doublon(rel);
    if (rel.index_valide) liberer_index(rel);
    empiler_slot(rel, valeurs, 1);
}

void mettre_a_jour_maximums(relation& rel, int64_t jusqu_a) {
    size_t champs = static_cast<size_t>(rel.nb_champs);
    if (rel.maximums.size() != champs || rel.maximums_jusqu_a > jusqu_a) {
        rel.maximums.assign(champs, -1);
        rel.maximums_jusqu_a = 1;
    }
    for (int64_t slot = rel.maximums_jusqu_a; slot < jusqu_a; slot++) {
        const id_valeur* valeurs = valeurs_slot(rel, slot);
        for (size_t i = 0; i < champs; i++)
            rel.maximums[i] = std::max<int64_t>(rel.maximums[i], valeurs[i]);
    }
    rel.maximums_jusqu_a = std::max<int64_t>(1, jusqu_a);
}

bool lignes_toutes_nouvelles(relation& rel, const id_valeur* lignes, int64_t nombre) {
    mettre_a_jour_maximums(rel, nb_slots_stockes(rel));
    std::vector<int64_t> maximums = rel.maximums;
    size_t champs = maximums.size();
    for (int64_t ligne = 0; ligne < nombre; ligne++) {
        const id_valeur* valeurs = lignes + static_cast<size_t>(ligne) * champs;
        bool nouvelle = false;
        for (size_t i = 0; i < champs; i++) {
            if (valeurs[i] > maximums[i]) {
                nouvelle = true;
                maximums[i] = valeurs[i];
            }
        }
        if (!nouvelle) return false;
    }
    return true;
}

void ajouter_ligne_retiree(relation& rel, const id_valeur* valeurs) {
    empiler_slot(rel, valeurs, 0);
}
