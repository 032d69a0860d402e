// Each statement of the run becomes SQL in the run's order: @relation a table
// of text columns, a run of @data the rows it made live (a repeat is not
// inserted: tables are sets), @let one table per operation evaluated (nested
// ones under their temporary names), @print a query after a comment line that
// names the relation, so that a reader can tell the results apart.
//
// A join's product (#NAME) becomes a view: algrel keeps only its counts and
// never stores its rows, and a view stores nothing either, while it still
// answers the summary's counts. Its columns repeat names, so in the view they
// are prefixed with the side they come from: "g." for the left, "d." for the
// right operand.
#include "outils/sql/script_sql.h"

#include "driver/journal.h"
#include "language/jetons.h"
#include "outils/sql/noms_sql.h"
#include "store/relation.h"

#include <vector>

namespace {

// Rows per INSERT statement.
constexpr size_t LIGNES_PAR_INSERTION = 500;

// The script being written, and the SQL names it gives.
struct redaction {
    std::string sql;
    noms_sql noms;
};

// The quoted SQL name of relation `nom`.
std::string citer_table(const redaction& r, const std::string& nom) {
    return citer_identifiant(r.noms.relations.at(nom));
}

// The quoted SQL name of attribute `nom`.
std::string citer_colonne(const redaction& r, const std::string& nom) {
    return citer_identifiant(r.noms.attributs.at(nom));
}

// The attribute names of `rel` (its header), in order.
std::vector<std::string> lire_attributs(relation& rel) {
    return attributs_releve(etat_releve{&rel, 1, 1, 0});
}

// The attribute names of the relation registered as `nom`.
std::vector<std::string> lire_attributs(const std::string& nom) {
    return lire_attributs(*relation_enregistree(nom));
}

// "c1","c2",... for the attributes `noms`, each prefixed by `prefixe`.
std::string lister_colonnes(const redaction& r, const std::vector<std::string>& noms,
                            const std::string& prefixe = "") {
    std::string liste;
    for (const std::string& nom : noms) {
        if (!liste.empty()) liste += ',';
        liste += prefixe + citer_colonne(r, nom);
    }
    return liste;
}

// A table of text columns for each relation that @relation created.
void ecrire_creation(redaction& r, const instruction_notee& ins) {
    for (int32_t i = ins.premiere_relation; i < ins.fin_relations; i++) {
        relation& rel = *dico->entrees[static_cast<size_t>(i)].adresse;
        std::string colonnes;
        for (const std::string& a : lire_attributs(rel)) {
            if (!colonnes.empty()) colonnes += ", ";
            colonnes += citer_colonne(r, a) + " TEXT";
        }
        r.sql += "CREATE TABLE " + citer_table(r, rel.nom) + " (" + colonnes + ");\n";
    }
}

// The slots of `rel` among [debut, fin) that are live, as SQL tuples.
std::vector<std::string> lister_tuples_actifs(relation& rel, int64_t debut, int64_t fin) {
    std::vector<std::string> tuples;
    for (int64_t slot = debut; slot < fin; slot++) {
        if (!rel.actifs[slot]) continue;
        const id_valeur* valeurs = valeurs_slot(rel, slot);
        std::string tuple = "(";
        for (int32_t i = 0; i < rel.nb_champs; i++) {
            std::string valeur;
            ajouter_texte_valeur(valeur, valeurs[i]);
            if (i > 0) tuple += ',';
            tuple += citer_valeur(valeur);
        }
        tuples.push_back(tuple + ")");
    }
    return tuples;
}

// The end of the slots of `rel` when `ins` ended.
int64_t trouver_fin_slots(const instruction_notee& ins, const relation* rel) {
    for (const etat_releve& etat : ins.etats)
        if (etat.rel == rel) return etat.stockes;
    return nb_slots_stockes(*rel);
}

// The rows a run of @data made live, per relation, in batches.
void ecrire_donnees(redaction& r, const instruction_notee& ins) {
    for (const donnees_versees& d : ins.donnees) {
        std::vector<std::string> tuples =
            lister_tuples_actifs(*d.rel, d.stockes_avant, trouver_fin_slots(ins, d.rel));
        std::string debut = "INSERT INTO " + citer_table(r, d.rel->nom) + " (" +
                            lister_colonnes(r, lire_attributs(*d.rel)) + ") VALUES\n";
        for (size_t i = 0; i < tuples.size(); i++) {
            r.sql += i % LIGNES_PAR_INSERTION == 0 ? debut : ",\n";
            r.sql += tuples[i];
            if (i % LIGNES_PAR_INSERTION == LIGNES_PAR_INSERTION - 1 || i + 1 == tuples.size())
                r.sql += ";\n";
        }
    }
}

// The head of the statement that makes the table `nom` from a query.
std::string commencer_creation(const redaction& r, const std::string& nom) {
    return "CREATE TABLE " + citer_table(r, nom) + " AS ";
}

// The selection: an equality as a WHERE clause; any other comparison selects
// nothing (algrel refuses it on a relation with rows, so its source is empty).
std::string traduire_selection(const redaction& r, const descripteur& d) {
    std::string condition;
    if (d.param2.empty() || d.param2[0] != '=')
        condition = "1 = 0";
    else if (d.type_op == OP_SELECTION)
        condition = citer_colonne(r, d.param1) + " = " + citer_valeur(d.param3);
    else
        condition = citer_colonne(r, d.param1) + " = " + citer_colonne(r, d.param3);
    return "SELECT DISTINCT " + lister_colonnes(r, lire_attributs(d.source)) + " FROM " +
           citer_table(r, d.source) + " WHERE " + condition;
}

// Every column of the source, the renamed one under its new name.
std::string traduire_renommage(const redaction& r, const descripteur& d) {
    std::string liste;
    for (const std::string& a : lire_attributs(d.source)) {
        if (!liste.empty()) liste += ',';
        liste += citer_colonne(r, a);
        if (a == d.param1) liste += " AS " + citer_colonne(r, d.param2);
    }
    return "SELECT DISTINCT " + liste + " FROM " + citer_table(r, d.source);
}

// The view of a join's product (see the head of this file).
std::string traduire_produit(const redaction& r, const descripteur& d, const std::string& nom) {
    std::string liste;
    for (const std::string& a : lire_attributs(d.source))
        liste += std::string(liste.empty() ? "" : ",") + "\"g\"." + citer_colonne(r, a) + " AS " +
                 citer_identifiant("g." + r.noms.attributs.at(a));
    for (const std::string& a : lire_attributs(d.param1))
        liste += ",\"d\"." + citer_colonne(r, a) + " AS " +
                 citer_identifiant("d." + r.noms.attributs.at(a));
    return "CREATE VIEW " + citer_table(r, nom) + " AS SELECT " + liste + " FROM " +
           citer_table(r, d.source) + " AS \"g\", " + citer_table(r, d.param1) + " AS \"d\";\n";
}

// The natural join, by explicit equality of the common columns: the left
// columns, then the right ones not in common.
std::string traduire_jointure(const redaction& r, const descripteur& d) {
    std::vector<std::string> gauche = lire_attributs(d.source);
    std::vector<std::string> droite = lire_attributs(d.param1);
    std::string liste = lister_colonnes(r, gauche, "\"g\".");
    std::string condition;
    for (const std::string& b : droite) {
        bool commun = false;
        for (const std::string& a : gauche) commun = commun || a == b;
        if (!commun) {
            liste += ",\"d\"." + citer_colonne(r, b);
            continue;
        }
        condition += condition.empty() ? " WHERE " : " AND ";
        condition += "\"g\"." + citer_colonne(r, b) + " = \"d\"." + citer_colonne(r, b);
    }
    return "SELECT DISTINCT " + liste + " FROM " + citer_table(r, d.source) + " AS \"g\", " +
           citer_table(r, d.param1) + " AS \"d\"" + condition;
}

// Union or difference: the attributes are the same, in the same order.
std::string traduire_ensembliste(const redaction& r, const descripteur& d, const char* mot) {
    std::string colonnes = lister_colonnes(r, lire_attributs(d.source));
    return "SELECT " + colonnes + " FROM " + citer_table(r, d.source) + " " + mot + " SELECT " +
           colonnes + " FROM " + citer_table(r, d.param1);
}

// The table of one operation's result (and a join's product view).
void ecrire_operation(redaction& r, const operation_notee& op) {
    const descripteur& d = op.desc;
    std::string requete;
    switch (d.type_op) {
    case OP_SELECTION:
    case OP_SELECTION_ATTRIBUT: requete = traduire_selection(r, d); break;
    case OP_PROJECTION:
        requete = "SELECT DISTINCT " + lister_colonnes(r, lire_attributs(op.resultat)) + " FROM " +
                  citer_table(r, d.source);
        break;
    case OP_JOINTURE:
        r.sql += traduire_produit(r, d, "#" + op.resultat);
        requete = traduire_jointure(r, d);
        break;
    case OP_RENOMMAGE: requete = traduire_renommage(r, d); break;
    case OP_UNION: requete = traduire_ensembliste(r, d, "UNION"); break;
    case OP_DIFFERENCE: requete = traduire_ensembliste(r, d, "EXCEPT"); break;
    default: return;
    }
    r.sql += commencer_creation(r, op.resultat) + requete + ";\n";
}

// The comment that names the listing, then the query of its columns.
void ecrire_affichage(redaction& r, relation& rel) {
    std::string liste;
    for (const std::string& a : lire_attributs(rel)) {
        if (!liste.empty()) liste += ',';
        liste += citer_colonne(r, a);
        if (r.noms.attributs.at(a) != a) liste += " AS " + citer_identifiant(a);
    }
    r.sql +=
        "-- @print " + rel.nom + "\nSELECT " + liste + " FROM " + citer_table(r, rel.nom) + ";\n";
}

// The dialect's name, as the command line gives it.
const char* nommer_dialecte(dialecte_sql dialecte) {
    switch (dialecte) {
    case DIALECTE_POSTGRESQL: return "postgresql";
    case DIALECTE_DUCKDB: return "duckdb";
    default: return "sqlite";
    }
}

} // namespace

std::string ecrire_script(const std::string& origine, dialecte_sql dialecte) {
    redaction r{"", nommer_relations_attributs()};
    r.sql = "-- algrel-sql : " + origine + ", dialecte " + nommer_dialecte(dialecte) + "\n";
    r.sql += "BEGIN TRANSACTION;\n";
    for (const instruction_notee& ins : journal.instructions) {
        switch (ins.mot) {
        case AT_RELATION: ecrire_creation(r, ins); break;
        case AT_DATA: ecrire_donnees(r, ins); break;
        case AT_LET:
            for (const operation_notee& op : ins.operations)
                if (op.creee) ecrire_operation(r, op);
            break;
        case AT_PRINT:
            if (ins.affichee) ecrire_affichage(r, *ins.affichee->rel);
            break;
        default: break;
        }
    }
    r.sql += "COMMIT;\n";
    return r.sql;
}
