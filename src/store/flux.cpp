#include "store/flux.h"

#include "driver/erreurs.h"

#include <algorithm>
#include <cstring>
#include <memory>

FILE* yyin = nullptr;
FILE* yyout = nullptr;

namespace {

constexpr size_t TAILLE_TAMPON = 1 << 20;

// The output buffer: `taille` bytes of `octets` wait to be written.
struct tampon_sortie {
    std::unique_ptr<char[]> octets;
    size_t taille = 0;
    size_t capacite = 0;
};
tampon_sortie tampon;

// Writes the buffer out; false when the file refused some of it.
bool vider_tampon() {
    if (tampon.taille == 0) return true;
    if (!yyout) yyout = stdout;
    bool ecrit = std::fwrite(tampon.octets.get(), 1, tampon.taille, yyout) == tampon.taille;
    tampon.taille = 0;
    return ecrit;
}

} // namespace

char* reserver_sortie(size_t n) {
    if (tampon.taille + n > tampon.capacite) {
        if (!vider_tampon()) erreur(CODE_ECRITURE_SORTIE);
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
