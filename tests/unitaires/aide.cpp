#include "aide.h"

#include "language/analyseur_lexical.h"
#include "language/jetons.h"
#include "operators/operateurs.h"

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

void avec_interpreteur::SetUp() {
    reinitialiser_interpreteur();
    initialiser_dico();
    char modele[] = "/tmp/algrel-test-XXXXXX";
    int fd = mkstemp(modele);
    ASSERT_GE(fd, 0);
    close(fd);
    chemin_sortie_ = modele;
    yyout = std::fopen(chemin_sortie_.c_str(), "w");
}

void avec_interpreteur::TearDown() {
    reinitialiser_interpreteur();
    std::remove(chemin_sortie_.c_str());
}

std::string avec_interpreteur::lire_sortie() {
    fermer_flux();
    std::ifstream fichier(chemin_sortie_, std::ios::binary);
    std::ostringstream contenu;
    contenu << fichier.rdbuf();
    return contenu.str();
}

int code_erreur(const std::function<void()>& appel) {
    testing::internal::CaptureStderr();
    try {
        appel();
    } catch (const fin_execution&) {
        std::string message = testing::internal::GetCapturedStderr();
        std::smatch trouve;
        if (std::regex_search(message, trouve, std::regex("\\[([0-9]+)\\]")))
            return std::stoi(trouve[1]);
        return -1;
    }
    testing::internal::GetCapturedStderr();
    return 0;
}

void remplir(const std::string& nom, const std::vector<std::string>& lignes) {
    for (const std::string& ligne : lignes) ajouter_tuple(nom, ligne);
}

std::vector<std::string> lignes_actives(const std::string& nom) {
    std::vector<std::string> lignes;
    const relation* rel = relation_existe(nom);
    if (!rel) return lignes;
    for (int64_t slot = 1; slot < nb_slots_stockes(*rel); slot++) {
        auto texte = transformer_tuple_liste(nom, slot);
        if (texte) lignes.push_back(*texte);
    }
    return lignes;
}

int code_sur_magasin_neuf(const std::function<void()>& scenario) {
    reinitialiser_interpreteur();
    initialiser_dico();
    return code_erreur(scenario);
}

std::string entete_de(const std::string& nom) { return *transformer_tuple_liste(nom, 0); }

texte_installe::texte_installe(std::string texte, bool depart) : texte_(std::move(texte)) {
    if (depart) reinitialiser_analyseur_lexical();
    flux_ =
        texte_.empty() ? std::fopen("/dev/null", "r") : fmemopen(texte_.data(), texte_.size(), "r");
    yyrestart(flux_);
    // Started without a driver, the scanner takes standard output as the
    // output file; give it back, or the next reset of the interpreter
    // would close standard output.
    if (yyout == stdout) yyout = nullptr;
}

texte_installe::~texte_installe() { std::fclose(flux_); }

namespace {

std::string decrire_jeton(int jeton) {
    switch (jeton) {
    case IDENT: return "IDENT(" + std::string(yylval) + ")";
    case LISTE: return "LISTE(" + std::string(yylval) + ")";
    case OPERATEUR: return "OP(" + std::string(yylval) + ")";
    case AT_RELATION: return "AT_RELATION";
    case AT_DATA: return "AT_DATA";
    case AT_LET: return "AT_LET";
    case AT_PRINT: return "AT_PRINT";
    case WHERE: return "WHERE";
    case PROJECT: return "PROJECT";
    case JOIN: return "JOIN";
    case UNION: return "UNION";
    case MINUS: return "MINUS";
    case RENAME: return "RENAME";
    case AS: return "AS";
    case OCTET_INVALIDE: return "INVALIDE";
    default: return std::to_string(jeton);
    }
}

} // namespace

std::vector<int> jetons_de(const std::string& texte) {
    texte_installe entree(texte);
    std::vector<int> jetons;
    for (int jeton = yylex(); jeton != FIN_ENTREE; jeton = yylex()) jetons.push_back(jeton);
    return jetons;
}

std::string decrire_jetons(const std::string& texte) {
    texte_installe entree(texte);
    std::string description;
    for (int jeton = yylex(); jeton != FIN_ENTREE; jeton = yylex()) {
        if (!description.empty()) description += ' ';
        description += decrire_jeton(jeton);
    }
    return description;
}
