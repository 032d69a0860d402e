#include "store/flux.h"

#include "driver/erreurs.h"
#include "store/ecriture_differee.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

FILE* yyin = nullptr;
FILE* yyout = nullptr;

namespace {

constexpr size_t TAILLE_TAMPON = 1 << 20;

// The output buffer: `taille` bytes of `octets` wait to be written. A full
// buffer is handed to the helper (ecriture_differee.h) and the listing goes
// on in the other one, `autre`, free once that write is done.
struct tampon_sortie {
    std::unique_ptr<char[]> octets;
    size_t taille = 0;
    size_t capacite = 0;
    std::unique_ptr<char[]> autre;
    size_t capacite_autre = 0;
};
tampon_sortie tampon;

// Waits for the buffer being written; when the file refused some of it,
// what waits after it is dropped, as it would never have been written, and
// false is answered.
bool attendre_tampon_ecrit() {
    if (attendre_ecriture()) return true;
    tampon.taille = 0;
    return false;
}

// Writes the buffer out at once; false when the file refused some of it.
bool vider_tampon() {
    if (!attendre_tampon_ecrit()) return false;
    if (tampon.taille == 0) return true;
    if (!yyout) yyout = stdout;
    bool ecrit = std::fwrite(tampon.octets.get(), 1, tampon.taille, yyout) == tampon.taille;
    tampon.taille = 0;
    return ecrit;
}

// Hands the full buffer to the helper and goes on in the other one, once the
// one before is written; writes it at once where the helper cannot run.
// False when the file refused some of either.
bool passer_au_tampon_suivant() {
    if (!attendre_tampon_ecrit()) return false;
    if (tampon.taille == 0) return true;
    if (!yyout) yyout = stdout;
    if (!ecrire_plus_tard(yyout, tampon.octets.get(), tampon.taille)) return vider_tampon();
    std::swap(tampon.octets, tampon.autre);
    std::swap(tampon.capacite, tampon.capacite_autre);
    tampon.taille = 0;
    return true;
}

} // namespace

char* reserver_sortie(size_t n) {
    if (tampon.taille + n > tampon.capacite) {
        if (!passer_au_tampon_suivant()) erreur(CODE_ECRITURE_SORTIE);
        if (n > tampon.capacite) {
            tampon.capacite = std::max(n, TAILLE_TAMPON);
            tampon.octets = std::make_unique<char[]>(tampon.capacite);
        }
    }
    return tampon.octets.get() + tampon.taille;
}

void valider_sortie(size_t n) { tampon.taille += n; }

void ecrire_sortie(std::string_view texte) {
    char* place = reserver_sortie(texte.size());
    if (!texte.empty()) std::memcpy(place, texte.data(), texte.size());
    valider_sortie(texte.size());
}

void achever_sortie() {
    if (!attendre_tampon_ecrit()) erreur(CODE_ECRITURE_SORTIE);
}

// The process's own standard streams are flushed, never closed.
bool fermer_flux() {
    if (yyin) {
        if (yyin != stdin) std::fclose(yyin);
        yyin = nullptr;
    }
    if (!yyout) return true;
    FILE* sortie = yyout;
    bool ecrit = vider_tampon();
    yyout = nullptr;
    if (std::fflush(sortie) != 0) ecrit = false;
    if (sortie != stdout && std::fclose(sortie) != 0) ecrit = false;
    return ecrit;
}
