#include "banc.h"

#include "driver/execution.h"
#include "store/memoire.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string_view>
#include <vector>

banc_fuzz banc;

namespace {

// Stored rows and texts past this end the run with "memoire insuffisante".
// A few lines of input can ask for a cross product of billions of rows: this
// keeps such an input to a few seconds under the sanitizers, and the process
// well below the fuzzer's own memory limit. ALGREL_FUZZ_LIMITE_MO changes it.
constexpr size_t LIMITE_MO_PAR_DEFAUT = 64;
size_t limite_octets = LIMITE_MO_PAR_DEFAUT << 20;

void nettoyer_banc() {
    for (const std::string* chemin : {&banc.donnees, &banc.commandes, &banc.sortie,
                                      &banc.relecture_commandes, &banc.relecture_sortie})
        unlink(chemin->c_str());
    rmdir(banc.dossier.c_str());
}

std::string lire_fichier(const std::string& chemin) {
    std::ifstream flux(chemin, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(flux), std::istreambuf_iterator<char>());
}

// Each failed check has its own function, so that the report's stack names it.
[[noreturn]] __attribute__((noinline)) void statut_inattendu(int statut) {
    std::fprintf(stderr, "algrel ended with status %d\n", statut);
    std::abort();
}
[[noreturn]] __attribute__((noinline)) void relecture_refusee(int statut) {
    std::fprintf(stderr, "the output read back as data ended with status %d\n", statut);
    std::abort();
}
[[noreturn]] __attribute__((noinline)) void relecture_differente() {
    std::fprintf(stderr, "the relations read back from the output are listed differently\n");
    std::abort();
}

// The names of the relations listed in `sortie`, in order. False when the
// output cannot be read back whole: a relation listed twice (its second
// declaration is refused as existing).
bool relations_listees(std::string_view sortie, std::vector<std::string>& noms) {
    std::set<std::string_view> vus;
    size_t debut = 0;
    while (debut <= sortie.size()) {
        size_t fin = sortie.find('\n', debut);
        if (fin == std::string_view::npos) fin = sortie.size();
        std::string_view ligne = sortie.substr(debut, fin - debut);
        debut = fin + 1;
        size_t deux_points = ligne.find(':');
        if (deux_points == std::string_view::npos) continue;
        constexpr std::string_view DECLARATION = "@relation ";
        if (ligne.substr(0, DECLARATION.size()) != DECLARATION) continue;
        std::string_view nom = ligne.substr(DECLARATION.size(), deux_points - DECLARATION.size());
        if (!vus.insert(nom).second) return false;
        noms.emplace_back(nom);
    }
    return true;
}

} // namespace

void preparer_banc() {
    const char* racine = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string modele = std::string(racine) + "/algrel-fuzz-XXXXXX";
    std::vector<char> tampon(modele.begin(), modele.end());
    tampon.push_back('\0');
    if (!mkdtemp(tampon.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    banc.dossier = tampon.data();
    banc.donnees = banc.dossier + "/donnees.vorn";
    banc.commandes = banc.dossier + "/commandes.vorn";
    banc.sortie = banc.dossier + "/sortie.vorn";
    banc.relecture_commandes = banc.dossier + "/relecture.vorn";
    banc.relecture_sortie = banc.dossier + "/relecture-sortie.vorn";
    std::atexit(nettoyer_banc);

    size_t mo = LIMITE_MO_PAR_DEFAUT;
    if (const char* texte = std::getenv("ALGREL_FUZZ_LIMITE_MO"))
        mo = std::strtoull(texte, nullptr, 10);
    limite_octets = mo << 20;
    fixer_limite_memoire(limite_octets);
}

void ecrire_fichier(const std::string& chemin, const uint8_t* octets, size_t taille) {
    int fd = open(chemin.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        std::perror(chemin.c_str());
        std::abort();
    }
    while (taille > 0) {
        ssize_t ecrits = write(fd, octets, taille);
        if (ecrits <= 0) {
            std::perror(chemin.c_str());
            std::abort();
        }
        octets += ecrits;
        taille -= static_cast<size_t>(ecrits);
    }
    close(fd);
}

int lancer(const char* premier, const char* second, const char* troisieme) {
    const char* argv[] = {"algrel", premier, second, troisieme, nullptr};
    int statut = executer_algrel(troisieme ? 4 : 3, argv);
    // Everything the run allocated is given back before the next input, so
    // that the fuzzer sees as many releases as allocations and looks for
    // leaks only where there are some.
    reinitialiser_interpreteur();
    if (statut != 0 && statut != 1) statut_inattendu(statut);
    return statut;
}

void verifier_relecture() {
    std::string sortie = lire_fichier(banc.sortie);
    std::vector<std::string> noms;
    if (sortie.empty() || !relations_listees(sortie, noms)) return;
    std::string commandes;
    for (const std::string& nom : noms) commandes += "@print " + nom + ":\n";
    ecrire_fichier(banc.relecture_commandes, reinterpret_cast<const uint8_t*>(commandes.data()),
                   commandes.size());
    // Read back, rows made by an operator without an index of live rows get
    // one: the second run has more room, so that it never stops short where
    // the first did not.
    fixer_limite_memoire(4 * limite_octets);
    int statut = lancer(banc.sortie.c_str(), banc.relecture_commandes.c_str(),
                        banc.relecture_sortie.c_str());
    fixer_limite_memoire(limite_octets);
    if (statut != 0) relecture_refusee(statut);
    if (lire_fichier(banc.relecture_sortie) != sortie) relecture_differente();
}
