// The journal of a run: what the companion programs (src/outils/) learn of
// each statement as it runs. algrel itself never turns it on; when it is off,
// every hook below costs one test of `journal.actif`.
//
// With the journal on, a run writes no output file (an @print is noted, not
// written) and keeps its store after an error, so that what was made before
// the error can still be read.
#pragma once

#include "language/descripteur.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct relation;

// A relation as it stood at a moment: its first `stockes` slots, and its counts.
// Slots never change once settled, so the live slots among those are its rows then.
struct etat_releve {
    relation* rel = nullptr;
    int64_t stockes = 0;
    int64_t nb_tuples = 0;
    int64_t nb_actifs = 0;
};

// The rows that a run of @data statements gave to one relation.
struct donnees_versees {
    relation* rel = nullptr;
    int64_t lignes = 0;       // rows given
    int64_t actifs_avant = 0; // live rows before the first of them
    int64_t stockes_avant = 0; // stored slots before the first of them
};

// One operation evaluated by an @let statement, nested ones first.
struct operation_notee {
    descripteur desc;
    std::string resultat;
    bool creee = false; // false when union or difference found the schemas incompatible
};

// One statement, or one run of consecutive @data statements.
struct instruction_notee {
    int mot = 0;          // AT_RELATION, AT_DATA, AT_LET or AT_PRINT
    int fichier = 0;      // 0 for the first input file, 1 for the second
    int32_t ligne = 0;    // the line of its keyword
    int32_t nb_instructions = 0; // statements folded into it (a run of @data)
    std::string texte;    // as written, from its keyword to its last token, on one line
    int32_t premiere_relation = 0; // dictionary entries it created: [premiere, fin)
    int32_t fin_relations = 0;
    std::vector<donnees_versees> donnees;
    std::vector<operation_notee> operations;
    // Every relation it created or filled, in creation order, at its end.
    std::vector<etat_releve> etats;
    std::optional<etat_releve> affichee; // the relation an @print listed
    bool interrompue = false; // an error ended the run during it
    // Internal: the index of its keyword among those the scanner has read.
    int64_t mot_lu = 0;
};

// An error the run reported: its line, its code (0 for a syntax error or a
// scanner failure) and its message without the prefix and the line ends.
struct erreur_notee {
    int32_t ligne = 0;
    int code = 0;
    std::string message;
};

struct journal_execution {
    bool actif = false;
    // Set while the store is settled after an error: a further failure then
    // ends the settling quietly, the first error having been reported.
    bool silencieux = false;
    int fichier = 0;
    bool ouverte = false; // the last instruction is still running
    std::vector<instruction_notee> instructions;
    std::vector<erreur_notee> erreurs;
};

extern journal_execution journal;

// Forgets everything noted and turns the journal off.
void reinitialiser_journal();

// --- hooks, called only while journal.actif

// The parser takes the statement keyword `mot` as the start of a statement.
void noter_instruction(int mot);
// ajouter_tuple accepted a row for `rel`.
void noter_donnee(relation& rel);
// executer_operation evaluated `d` into `resultat`; `avant` is the number of
// relations held before.
void noter_operation(const std::string& resultat, const descripteur& d, int32_t avant);
// afficher_relation lists `rel` (instead of writing it).
void noter_affichage(relation& rel);
// The error `code` is reported with `message` (the text after the prefix).
void noter_erreur(int code, const std::string& message);
// The parse of the current file ended: the open instruction is closed.
void noter_fin_fichier();

// The rows of `etat` as texts, live slots in slot order, and its attribute names.
std::vector<std::string> attributs_releve(const etat_releve& etat);
std::vector<std::vector<std::string>> lignes_releve(const etat_releve& etat);
