// algrel-sql: runs a program as algrel does and writes on standard output one
// SQL script that does the same work on SQLite, PostgreSQL or DuckDB.
#include "driver/execution.h"
#include "driver/journal.h"
#include "outils/commun/usage.h"
#include "outils/sql/script_sql.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const USAGE =
    "algrel-sql [--dialecte sqlite|postgresql|duckdb] [donnees.vorn] commandes.vorn";

struct demande {
    dialecte_sql dialecte = DIALECTE_SQLITE;
    std::vector<std::string> fichiers; // [données] commandes
    bool aide = false;
};

const char* const AIDE =
    "Exécute le programme comme algrel et écrit sur la sortie standard un script SQL\n"
    "qui fait le même travail (sqlite par défaut).\n";

// The dialect named `texte`, or erreur_usage.
dialecte_sql lire_dialecte(const std::string& texte) {
    if (texte == "sqlite") return DIALECTE_SQLITE;
    if (texte == "postgresql") return DIALECTE_POSTGRESQL;
    if (texte == "duckdb") return DIALECTE_DUCKDB;
    throw erreur_usage{"dialecte inconnu « " + texte + " » (sqlite, postgresql ou duckdb)"};
}

// The command line, or erreur_usage.
demande lire_demande(int argc, char** argv) {
    demande d;
    bool options = true;
    for (int i = 1; i < argc; i++) {
        std::string argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && argument == "--help") {
            d.aide = true;
            return d;
        } else if (options && argument == "--dialecte") {
            if (i + 1 == argc) throw erreur_usage{"l'option --dialecte attend un dialecte"};
            d.dialecte = lire_dialecte(argv[++i]);
        } else if (options && argument.rfind("--dialecte=", 0) == 0) {
            d.dialecte = lire_dialecte(argument.substr(11));
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            throw erreur_usage{"option inconnue « " + argument + " »"};
        } else {
            d.fichiers.push_back(argument);
        }
    }
    if (d.fichiers.empty()) throw erreur_usage{"aucun fichier de commandes"};
    if (d.fichiers.size() > 2) throw erreur_usage{"trop de fichiers (deux au plus)"};
    return d;
}

// The program's files for the script's first comment, control bytes as '?'
// so that the comment stays on its line.
std::string decrire_origine(const std::vector<std::string>& fichiers) {
    std::string origine;
    for (const std::string& f : fichiers) {
        if (!origine.empty()) origine += ' ';
        origine += f;
    }
    for (char& c : origine)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
    return origine;
}

// True when the run reported a catalogue error or failed to read its input:
// algrel refused the program, and no script is written.
bool constater_refus(int statut) {
    if (statut == 2) return true;
    for (const erreur_notee& e : journal.erreurs)
        if (e.code != 0) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    demande d;
    FILE* donnees = nullptr;
    FILE* commandes = nullptr;
    try {
        d = lire_demande(argc, argv);
        if (d.aide) {
            std::printf("usage : %s\n%s", USAGE, AIDE);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        ouvrir_entrees(d.fichiers.size() == 2 ? &d.fichiers[0] : nullptr, d.fichiers.back(),
                       donnees, commandes);
    } catch (const erreur_usage& e) {
        return signaler_usage("algrel-sql", e, USAGE);
    }
    int statut = executer_journal(donnees, commandes);
    if (constater_refus(statut)) return statut;
    std::string script = ecrire_script(decrire_origine(d.fichiers), d.dialecte);
    if (std::fwrite(script.data(), 1, script.size(), stdout) != script.size() ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "algrel-sql : écriture impossible sur la sortie standard\n");
        return 1;
    }
    return statut;
}
