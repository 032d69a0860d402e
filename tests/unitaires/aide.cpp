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

std::vector<int> jetons_de(const std::string& texte) {
    reinitialiser_analyseur_lexical();
    FILE* flux = fmemopen(const_cast<char*>(texte.data()), texte.size(), "r");
    if (texte.empty()) flux = std::fopen("/dev/null", "r");
    yyrestart(flux);
    std::vector<int> jetons;
    for (int jeton = yylex(); jeton != FIN_ENTREE; jeton = yylex()) jetons.push_back(jeton);
    std::fclose(flux);
    return jetons;
}
