// The records of the relation store: a relation with its slots, the
// dictionary of every relation of the run, and the operations on them.
//
// Slot 0 of a relation holds its attribute names; slots 1 onwards hold its rows
// in insertion order, each live or retired. Values are interned (valeurs.h), so
// a slot is `nb_champs` ids side by side in one array and two rows are equal
// exactly when their ids are.
#pragma once

#include "store/fins_items.h"
#include "store/hachage.h"
#include "store/index_lignes.h"
#include "store/valeurs.h"

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int32_t MAX_CHAMPS = 8;
inline constexpr size_t MAX_NOM_RELATION = 20;
inline constexpr size_t MAX_VALEUR = MAX_TEXTE_INTERNE;

// One slot seen through the store: its flag and its `nb_champs` values.
struct tuple {
    int32_t actif;
    const id_valeur* valeurs;
};

// Slot arrays are blocks of agrandir_bloc, so that a large one grows
// without being copied.
struct liberer_par_bloc {
    void operator()(void* p) const { liberer_bloc_agrandi(p); }
};
template <typename T> using tableau_slots = std::unique_ptr<T[], liberer_par_bloc>;

struct relation {
    std::string nom;
    int32_t rang = 0; // its place in the dictionary's creation order
    int32_t nb_champs = 0;
    int64_t nb_tuples = 0; // slots in use, header and retired rows included
    int64_t nb_actifs = 0; // live rows
    int64_t capacite = 0;  // slots allocated in `valeurs` and `actifs`
    // Pages of the slot arrays are asked for ahead (reserver_slot): up to
    // slot `slots_demandes`, and again once `prochaine_demande` is stored
    // (at most `capacite`).
    int64_t slots_demandes = 0;
    int64_t prochaine_demande = 0;
    // Slots stored in them: nb_tuples, except for a join's product, whose
    // counts are kept but whose rows are never stored (no statement reads them).
    int64_t stockes = 0;
    tableau_slots<id_valeur> valeurs; // nb_champs ids per slot
    tableau_slots<uint8_t> actifs;    // one flag per slot
    // The live rows, by slot number; rebuilt on demand after rows were
    // appended without it (index_valide false).
    index_lignes index;
    bool index_valide = true;
    // Set once the index had to be rebuilt: it is then kept (verifier_doublon).
    bool garder_index = false;
    // The last `en_attente` slots were appended live but not yet compared
    // with the earlier rows: verifier_doublon settles them all at once,
    // before anything reads the relation (relation_existe does).
    int64_t en_attente = 0;
    // The greatest id of each attribute over the stored slots 1 to
    // `maximums_jusqu_a` (excluded), -1 before any: a row holding a greater id
    // in some attribute differs from all of them (lignes_toutes_nouvelles,
    // lignes_douteuses.h).
    std::vector<int64_t> maximums;
    int64_t maximums_jusqu_a = 1;

    relation();
    relation(const relation&) = delete;
    relation& operator=(const relation&) = delete;
};

struct entree_dico {
    std::string nom;
    relation* adresse;
    int32_t identifiant; // the summary's ADRESSE: 0 to 999,999,999, distinct in the run
};

struct dictionnaire {
    int32_t nb_relations = 0;
    std::vector<entree_dico> entrees; // creation order, for the summary
    std::vector<std::unique_ptr<relation>> relations;
    absl::flat_hash_map<std::string, relation*> par_nom;
    absl::flat_hash_set<int32_t> identifiants; // those given so far
};

// The dictionary of the run; null before initialiser_dico.
extern std::unique_ptr<dictionnaire> dico;

// Set while the join's product is being created: a repeated attribute name is then accepted.
extern int32_t flag_prod_cart;

// --- dictionary (dictionnaire.cpp)

// Creates the empty dictionary.
void initialiser_dico();
// Registers a new relation whose `nom` is set; the dictionary takes ownership.
relation* ajouter_ds_dico(std::unique_ptr<relation> rel);
// The relation registered under `nom`, or null; its repeated rows are
// settled, so that its rows and counts can be read.
relation* relation_existe(std::string_view nom);
// The relation registered under `nom`, or null, as it stands (rows may wait
// to be compared): for appending rows only.
relation* relation_enregistree(std::string_view nom);
// The summary's ADRESSE for a record at `adresse`: the address counted in
// records' alignment units, kept to 9 digits so that a blank always parts it
// from the name; the next free number when another relation of the run has
// it already.
int32_t attribuer_identifiant(dictionnaire& d, uintptr_t adresse);
// Releases the store and closes both streams (the error path).
void liberer_memoire();
// Prints the summary of every relation on standard output.
void afficher_dico();

// --- creation and insertion (creation.cpp)

// Creates and registers relation `nom` with the attribute list `liste`.
relation* creer_relation(std::string_view nom, std::string_view liste);
// Adds the row of values `liste` to relation `nom` (its checks are made at
// once; the row itself may wait, see inserer_lignes_en_attente). `items`,
// when given, are the list's items as the scanner found them.
void ajouter_tuple(std::string_view nom, std::string_view liste, const fins_items* items = nullptr);
// Stores the rows that ajouter_tuple keeps waiting; relation_existe and the
// summary call it before reading anything.
void inserer_lignes_en_attente();
// Drops the waiting rows (the store is being released).
void oublier_lignes_en_attente();
// 1 plus the number of commas of a non-empty list; 205 for an empty one.
int32_t compter_champs(std::string_view liste);
// 1 when two items of the list are equal, else 0.
int comparer_noms_champs(std::string_view liste);
// Compares the slots waiting in `rel` with the rows before them, in slot
// order, and retires each one that repeats a live row.
void verifier_doublon(relation& rel);
// 1 when slots `a` and `b` of `rel` hold equal values, else 0.
int comparer_champ_champ(const relation& rel, int64_t a, int64_t b);

// Appends a row of ids to `rel`; it will be retired if it repeats a live row
// (the comparison waits, to be done for many rows at once).
void ajouter_ligne(relation& rel, const id_valeur* valeurs);
// Appends a row of ids that the caller knows to differ from every live row.
void ajouter_ligne_distincte(relation& rel, const id_valeur* valeurs);
// Whether each of the `nombre` rows `lignes` (nb_champs ids each), appended
// in this order, would differ from every row stored before it: true when
// each holds, in some attribute, an id greater than all the earlier ones
// there. Such rows need no lookup in the row index.
bool lignes_toutes_nouvelles(relation& rel, const id_valeur* lignes, int64_t nombre);
// Makes `maximums` of `rel` those of its stored slots before `jusqu_a`.
void mettre_a_jour_maximums(relation& rel, int64_t jusqu_a);
// Appends a row of ids that the caller knows to repeat a live row: retired.
void ajouter_ligne_retiree(relation& rel, const id_valeur* valeurs);

// --- listing (affichage.cpp)

// Appends the listing of relation `nom` to the output file.
void afficher_relation(std::string_view nom);

// --- access to slots

// Slots actually stored: nb_tuples, except for a join's product (header only).
inline int64_t nb_slots_stockes(const relation& rel) { return rel.stockes; }
inline const id_valeur* valeurs_slot(const relation& rel, int64_t slot) {
    return rel.valeurs.get() + slot * rel.nb_champs;
}
// The hash of the row in `slot`, the one every set of rows uses.
inline uint64_t hachage_slot(const relation& rel, int64_t slot) {
    return hacher_ids(valeurs_slot(rel, slot), rel.nb_champs);
}
inline tuple lire_tuple(const relation& rel, int64_t slot) {
    return tuple{rel.actifs[slot], valeurs_slot(rel, slot)};
}
