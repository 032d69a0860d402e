#include "outils/sql/noms_sql.h"

#include "driver/journal.h"
#include "store/relation.h"

#include <cctype>
#include <cstdio>
#include <set>

// `texte` between two `guillemet`, each one inside doubled.
static std::string citer(const std::string& texte, char guillemet) {
    std::string cite(1, guillemet);
    for (char c : texte) {
        if (c == guillemet) cite += guillemet;
        cite += c;
    }
    return cite + guillemet;
}

std::string citer_identifiant(const std::string& texte) { return citer(texte, '"'); }

std::string citer_valeur(const std::string& texte) { return citer(texte, '\''); }

namespace {

// `nom` with every byte outside printable ASCII (blank included) as \xNN.
std::string rendre_imprimable(const std::string& nom) {
    std::string sortie;
    for (char c : nom) {
        auto octet = static_cast<unsigned char>(c);
        if (octet > 32 && octet < 127) {
            sortie += c;
            continue;
        }
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02X", octet);
        sortie += code;
    }
    return sortie;
}

// `texte` with its ASCII letters in lower case.
std::string mettre_en_minuscules(std::string texte) {
    for (char& c : texte) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return texte;
}

} // namespace

std::map<std::string, std::string> nommer_sans_casse(const std::vector<std::string>& noms) {
    std::map<std::string, std::string> sql;
    std::map<std::string, int> vus; // names met, by their lower-case form
    for (const std::string& nom : noms) {
        if (sql.count(nom)) continue;
        std::string imprimable = rendre_imprimable(nom);
        int rang = ++vus[mettre_en_minuscules(imprimable)];
        sql[nom] = rang == 1 ? imprimable : imprimable + " " + std::to_string(rang);
    }
    return sql;
}

noms_sql nommer_relations_attributs() {
    std::vector<std::string> relations;
    std::vector<std::string> attributs;
    for (const entree_dico& entree : dico->entrees) {
        relations.push_back(entree.nom);
        etat_releve etat{entree.adresse, 1, 1, 0};
        for (std::string& a : attributs_releve(etat)) attributs.push_back(std::move(a));
    }
    return noms_sql{nommer_sans_casse(relations), nommer_sans_casse(attributs)};
}
