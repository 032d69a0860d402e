// Writes one workload of the comparison with sqlite3 into a folder, in two
// equivalent forms:
//   donnees.vorn, commandes.vorn  the data file and the command file for algrel;
//   <relation>.csv, requetes.sql  the same rows as CSV files (header line
//                                 first) and a script for `sqlite3 :memory:`
//                                 that writes each printed result into
//                                 resultat_<relation>.csv;
//   imprimees.txt                 the printed relations, one name a line.
// Relations are sets: the script loads every table without repeats and uses
// DISTINCT or the set operators wherever a result could hold a repeat.
//
// Usage: generateur_charges ingest|ops|nested|cross|many N FOLDER [SEED]
#include "alea.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void echouer(const std::string& message) {
    std::fprintf(stderr, "generateur_charges: %s\n", message.c_str());
    std::exit(1);
}

// The files of the workload being written.
struct charge {
    std::string dossier;
    FILE* donnees;
    FILE* commandes;
    FILE* sql;
    FILE* imprimees;
};

FILE* ouvrir(const charge& c, const std::string& nom) {
    std::string chemin = c.dossier + "/" + nom;
    FILE* f = std::fopen(chemin.c_str(), "w");
    if (!f) echouer(chemin + ": " + std::strerror(errno));
    return f;
}

void fermer(FILE* f) {
    if (std::ferror(f) || std::fclose(f) != 0) echouer("write error");
}

// Creates the folder and its missing parents.
void creer_dossier(const std::string& dossier) {
    for (size_t fin = dossier.find('/', 1);; fin = dossier.find('/', fin + 1)) {
        std::string partie = dossier.substr(0, fin);
        if (mkdir(partie.c_str(), 0755) != 0 && errno != EEXIST)
            echouer(partie + ": " + std::strerror(errno));
        if (fin == std::string::npos) return;
    }
}

// A base relation: declared in the data file; its rows go to the data file
// and to its CSV file, which the script loads without repeats.
struct table {
    std::string nom;
    FILE* csv;
};

table declarer(charge& c, const std::string& nom, const char* attributs) {
    const char* n = nom.c_str();
    std::fprintf(c.donnees, "@relation %s: %s\n", n, attributs);
    std::fprintf(c.sql, ".import --csv %s.csv %s_brut\n", n, n);
    std::fprintf(c.sql, "CREATE TABLE %s AS SELECT DISTINCT * FROM %s_brut;\n", n, n);
    std::fprintf(c.sql, "DROP TABLE %s_brut;\n", n);
    table t{nom, ouvrir(c, nom + ".csv")};
    std::fprintf(t.csv, "%s\n", attributs);
    return t;
}

void ajouter(charge& c, const table& t, const char* ligne) {
    std::fprintf(c.donnees, "@data %s: %s\n", t.nom.c_str(), ligne);
    std::fprintf(t.csv, "%s\n", ligne);
}

// A result computed by both sides: `expression` in our language, `requete`
// in SQL.
void definir(charge& c, const std::string& nom, const std::string& expression,
             const std::string& requete) {
    std::fprintf(c.commandes, "@let %s: %s\n", nom.c_str(), expression.c_str());
    std::fprintf(c.sql, "CREATE TABLE %s AS %s;\n", nom.c_str(), requete.c_str());
}

void imprimer(charge& c, const std::string& nom) {
    const char* n = nom.c_str();
    std::fprintf(c.commandes, "@print %s:\n", n);
    std::fprintf(c.sql, ".output resultat_%s.csv\nSELECT * FROM %s;\n", n, n);
    std::fprintf(c.imprimees, "%s\n", n);
}

// --- the workloads

// T(k,a,b,c): n rows, about 5% of them exact repeats of earlier rows.
void ingest(charge& c, long long n, alea& a) {
    table t = declarer(c, "T", "k,a,b,c");
    struct ligne_t {
        unsigned k, a, b, c;
    };
    std::vector<ligne_t> lignes;
    lignes.reserve(static_cast<size_t>(n));
    char texte[96];
    for (long long i = 0; i < n; i++) {
        ligne_t l;
        if (!lignes.empty() && a.borne(100) < 5) {
            l = lignes[a.borne(lignes.size())];
        } else {
            l = {static_cast<unsigned>(lignes.size()), a.borne(1000), a.borne(100), a.borne(26)};
            lignes.push_back(l);
        }
        std::snprintf(texte, sizeof texte, "k%u,a%u,b%u,c%u", l.k, l.a, l.b, l.c);
        ajouter(c, t, texte);
    }
    fermer(t.csv);
    imprimer(c, "T");
}

// R(id,g,v): n rows, g among n/10 groups, v in 0..4. S(g,w): one row per
// group. R2(id,g,v): the first half of R and as many new rows. Answers the
// group of R's first row.
std::string donnees_ops(charge& c, long long n, alea& a) {
    unsigned groupes = static_cast<unsigned>(n / 10 > 0 ? n / 10 : 1);
    std::vector<unsigned> g(static_cast<size_t>(n)), v(static_cast<size_t>(n));
    char texte[96];
    table r = declarer(c, "R", "id,g,v");
    for (long long i = 0; i < n; i++) {
        g[i] = a.borne(groupes);
        v[i] = a.borne(5);
        std::snprintf(texte, sizeof texte, "%lld,g%u,%u", i, g[i], v[i]);
        ajouter(c, r, texte);
    }
    fermer(r.csv);
    table s = declarer(c, "S", "g,w");
    for (unsigned i = 0; i < groupes; i++) {
        std::snprintf(texte, sizeof texte, "g%u,w%u", i, a.borne(1000));
        ajouter(c, s, texte);
    }
    fermer(s.csv);
    table r2 = declarer(c, "R2", "id,g,v");
    for (long long i = 0; i < n / 2; i++) {
        std::snprintf(texte, sizeof texte, "%lld,g%u,%u", i, g[i], v[i]);
        ajouter(c, r2, texte);
    }
    for (long long i = n; i < 2 * n - n / 2; i++) {
        std::snprintf(texte, sizeof texte, "%lld,g%u,%u", i, a.borne(groupes), a.borne(5));
        ajouter(c, r2, texte);
    }
    fermer(r2.csv);
    char groupe[32];
    std::snprintf(groupe, sizeof groupe, "g%u", g[0]);
    return groupe;
}

void ops(charge& c, long long n, alea& a) {
    std::string groupe = donnees_ops(c, n, a);
    definir(c, "J", "R JOIN S", "SELECT * FROM R NATURAL JOIN S");
    definir(c, "P", "R PROJECT g,v", "SELECT DISTINCT g, v FROM R");
    definir(c, "W", "R WHERE g = \"" + groupe + "\"", "SELECT * FROM R WHERE g = '" + groupe + "'");
    definir(c, "U", "R UNION R2", "SELECT * FROM R UNION SELECT * FROM R2");
    definir(c, "D", "R MINUS R2", "SELECT * FROM R EXCEPT SELECT * FROM R2");
    definir(c, "N2", "R RENAME v AS z", "SELECT id, g, v AS z FROM R");
    for (const char* nom : {"J", "P", "W", "U", "D"}) imprimer(c, nom);
}

void nested(charge& c, long long n, alea& a) {
    donnees_ops(c, n, a);
    definir(c, "X", "((R MINUS R2) JOIN S) PROJECT id,w",
            "SELECT DISTINCT id, w FROM (SELECT * FROM R EXCEPT SELECT * FROM R2) NATURAL JOIN S");
    imprimer(c, "X");
}

// A(x) and B(y) of sqrt(n) rows each, and their product.
void cross(charge& c, long long n, alea&) {
    long long m = std::llround(std::sqrt(static_cast<double>(n)));
    char texte[96];
    for (const char* nom : {"A", "B"}) {
        bool gauche = nom[0] == 'A';
        table t = declarer(c, nom, gauche ? "x" : "y");
        for (long long i = 0; i < m; i++) {
            std::snprintf(texte, sizeof texte, "%c%lld", gauche ? 'x' : 'y', i);
            ajouter(c, t, texte);
        }
        fermer(t.csv);
    }
    definir(c, "C", "A JOIN B", "SELECT * FROM A CROSS JOIN B");
    imprimer(c, "C");
}

// 120 relations M0..M119(k,a,b) of n/120 rows, each projected on a,b (which
// holds repeats) into P0..P119 and printed.
void many(charge& c, long long n, alea& a) {
    long long par_relation = n / 120 > 0 ? n / 120 : 1;
    uint64_t valeurs_a = static_cast<uint64_t>(par_relation / 4 > 0 ? par_relation / 4 : 1);
    char texte[96];
    for (int i = 0; i < 120; i++) {
        char m[8], p[8];
        std::snprintf(m, sizeof m, "M%d", i);
        std::snprintf(p, sizeof p, "P%d", i);
        table t = declarer(c, m, "k,a,b");
        for (long long j = 0; j < par_relation; j++) {
            std::snprintf(texte, sizeof texte, "%lld,a%u,%u", j, a.borne(valeurs_a), a.borne(4));
            ajouter(c, t, texte);
        }
        fermer(t.csv);
        definir(c, p, std::string(m) + " PROJECT a,b",
                std::string("SELECT DISTINCT a, b FROM ") + m);
        imprimer(c, p);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5)
        echouer("usage: generateur_charges ingest|ops|nested|cross|many N FOLDER [SEED]");
    std::string nom = argv[1];
    long long n = std::atoll(argv[2]);
    if (n < 1) echouer("N must be at least 1");
    alea a{argc == 5 ? std::strtoull(argv[4], nullptr, 10) : 20240601u};

    charge c{argv[3], nullptr, nullptr, nullptr, nullptr};
    creer_dossier(c.dossier);
    c.donnees = ouvrir(c, "donnees.vorn");
    c.commandes = ouvrir(c, "commandes.vorn");
    c.sql = ouvrir(c, "requetes.sql");
    c.imprimees = ouvrir(c, "imprimees.txt");
    std::fputs(".bail on\n.headers off\n.mode csv\n", c.sql);

    if (nom == "ingest")
        ingest(c, n, a);
    else if (nom == "ops")
        ops(c, n, a);
    else if (nom == "nested")
        nested(c, n, a);
    else if (nom == "cross")
        cross(c, n, a);
    else if (nom == "many")
        many(c, n, a);
    else
        echouer("unknown workload: " + nom);

    for (FILE* f : {c.donnees, c.commandes, c.sql, c.imprimees}) fermer(f);
    return 0;
}
