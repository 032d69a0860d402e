// The output file: a listing of many buffers arrives whole and in order, and
// a file that cannot grow stops the run at the byte where it had to stop,
// with the output-write error, reported by the listing whose bytes were
// refused even when they were written behind it.
#include "aide.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct resultat_run {
    int statut;
    std::string erreurs;
    std::string sortie;
};

// A run over `commandes` whose output file is read back; with `limite`,
// no file of the run may grow past that many bytes (the input is written
// before).
resultat_run lancer(const std::string& commandes, rlim_t limite = 0) {
    std::string prefixe = testing::TempDir() + "algrel-ecriture-" + std::to_string(getpid());
    std::string entree = prefixe + ".vorn";
    std::string chemin_sortie = prefixe + "-sortie.vorn";
    std::ofstream(entree, std::ios::binary) << commandes;
    const char* arguments[] = {"algrel", entree.c_str(), chemin_sortie.c_str()};
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    rlimit avant;
    getrlimit(RLIMIT_FSIZE, &avant);
    auto signal_avant = std::signal(SIGXFSZ, SIG_IGN);
    if (limite) {
        rlimit reduite = avant;
        reduite.rlim_cur = limite;
        setrlimit(RLIMIT_FSIZE, &reduite);
    }
    int statut = executer_algrel(3, arguments);
    setrlimit(RLIMIT_FSIZE, &avant);
    std::signal(SIGXFSZ, signal_avant);
    std::string erreurs = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    reinitialiser_interpreteur();
    std::stringstream lu;
    lu << std::ifstream(chemin_sortie, std::ios::binary).rdbuf();
    std::remove(entree.c_str());
    std::remove(chemin_sortie.c_str());
    return {statut, erreurs, lu.str()};
}

// A relation of `lignes` rows printed twice: the commands, and the listing
// that they must give.
struct programme {
    std::string commandes;
    std::string listage;
};

// With `fois` = 1, R is printed once and then Q, which does not exist.
programme grand_listage(int lignes, int fois = 2) {
    programme p;
    p.commandes = "@relation R: a,b\n";
    std::string une_fois = "\n\n@relation R:a,b";
    for (int i = 0; i < lignes; i++) {
        std::string a = "v" + std::to_string(i), b = "w" + std::to_string(i % 977);
        p.commandes += "@data R: " + a + "," + b + "\n";
        une_fois += "\n@data R:" + a + "," + b;
    }
    p.commandes += fois == 2 ? "@print R:\n@print R:\n" : "@print R:\n@print Q:\n";
    p.listage = fois == 2 ? une_fois + une_fois : une_fois;
    return p;
}

// Checks that `run` stopped with the output-write error on `ligne`, its file
// holding the first `limite` bytes of `listage`.
void verifier_arret(const resultat_run& run, const std::string& listage, int ligne, rlim_t limite) {
    EXPECT_EQ(run.statut, 1);
    EXPECT_EQ(run.erreurs, "ERREUR ligne " + std::to_string(ligne) +
                               " : \n[304] erreur d'ecriture dans le fichier de sortie\n");
    ASSERT_EQ(run.sortie.size(), limite);
    EXPECT_TRUE(run.sortie == listage.substr(0, limite));
}

} // namespace

TEST(ecriture, un_listage_de_plusieurs_tampons_arrive_entier_et_dans_l_ordre) {
    programme p = grand_listage(300000); // about 10 MB, ten buffers
    resultat_run run = lancer(p.commandes);
    EXPECT_EQ(run.statut, 0);
    EXPECT_EQ(run.erreurs, "");
    ASSERT_EQ(run.sortie.size(), p.listage.size());
    EXPECT_TRUE(run.sortie == p.listage);
}

TEST(ecriture, un_fichier_qui_ne_peut_plus_grandir_arrete_le_run_au_meme_octet) {
    // The file may not pass 2.5 MB: the third buffer is written up to that
    // byte, then refused.
    constexpr rlim_t LIMITE = 2'500'000;
    programme p = grand_listage(300000);
    verifier_arret(lancer(p.commandes, LIMITE), p.listage, 300002, LIMITE);
}

TEST(ecriture, un_tampon_refuse_pendant_la_fin_du_listage_arrete_le_run_a_ce_listage) {
    // About 1.5 MB: the first buffer is handed out full and refused past
    // 500 kB while the rest of the listing fills the second; the listing
    // reports it as it ends, the second buffer is never written, and the
    // statement after it does not run (no error 203 for Q).
    constexpr rlim_t LIMITE = 500'000;
    programme p = grand_listage(90000, 1);
    ASSERT_GT(p.listage.size(), size_t{1} << 20);
    ASSERT_LT(p.listage.size(), size_t{2} << 20);
    verifier_arret(lancer(p.commandes, LIMITE), p.listage, 90002, LIMITE);

    // The refusal was reported once: the next run in the process writes
    // its whole listing.
    programme suivant = grand_listage(200000);
    resultat_run apres = lancer(suivant.commandes);
    EXPECT_EQ(apres.statut, 0);
    EXPECT_EQ(apres.erreurs, "");
    EXPECT_TRUE(apres.sortie == suivant.listage);
}
