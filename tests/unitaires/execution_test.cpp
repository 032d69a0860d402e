// Whole runs in-process: the memory ceiling ends a run cleanly, whether the
// store or the scanner's buffer passes it.
#include "aide.h"

#include "store/memoire.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// A run over `commandes` with memory held to `plafond` bytes: its status and
// its standard error.
struct resultat_run {
    int statut;
    std::string erreurs;
};

resultat_run lancer_avec_plafond(const std::string& commandes, size_t plafond) {
    // Tests may run side by side: each process has files of its own.
    std::string prefixe = testing::TempDir() + "algrel-plafond-" + std::to_string(getpid());
    std::string entree = prefixe + ".vorn";
    std::string sortie = prefixe + "-sortie.vorn";
    std::ofstream(entree, std::ios::binary) << commandes;
    fixer_limite_memoire(plafond);
    const char* arguments[] = {"algrel", entree.c_str(), sortie.c_str()};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int statut = executer_algrel(3, arguments);
    std::string erreurs = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    fixer_limite_memoire(0);
    reinitialiser_interpreteur();
    std::remove(entree.c_str());
    std::remove(sortie.c_str());
    return {statut, erreurs};
}

} // namespace

TEST(execution, le_plafond_de_memoire_arrete_le_magasin_par_l_erreur_400) {
    std::string commandes = "@relation R: a,b\n";
    for (int i = 0; i < 200000; i++)
        commandes += "@data R: v" + std::to_string(i) + ",w" + std::to_string(i) + "\n";
    commandes += "@print R:\n";
    resultat_run run = lancer_avec_plafond(commandes, 4 << 20);
    EXPECT_EQ(run.statut, 1);
    EXPECT_NE(run.erreurs.find("[400] memoire insuffisante"), std::string::npos) << run.erreurs;
}

TEST(execution, un_jeton_plus_grand_que_le_plafond_est_un_echec_de_lecture) {
    std::string commandes = "@print " + std::string(16 << 20, 'x') + ":\n";
    resultat_run run = lancer_avec_plafond(commandes, 4 << 20);
    EXPECT_EQ(run.statut, 2);
    EXPECT_EQ(run.erreurs, "fatal error - scanner input buffer overflow\n");
}
