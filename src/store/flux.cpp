#include "store/flux.h"

#include "driver/erreurs.h"

#include <string>

FILE* yyin = nullptr;
FILE* yyout = nullptr;

namespace {

constexpr size_t TAILLE_TAMPON = 1 << 20;

std::string tampon;

// Writes the buffer out; false when the file refused some of it.
bool vider_tampon() {
    if (!yyout) yyout = stdout;
    bool ecrit = tampon.empty() ||
                 std::fwrite(tampon.data(), 1, tampon.size(), yyout) == tampon.size();
    tampon.clear();
    return ecrit;
}

} // namespace

std::string& tampon_sortie() { return tampon; }

void vider_si_plein() {
    if (tampon.size() >= TAILLE_TAMPON && !vider_tampon()) erreur(CODE_ECRITURE_SORTIE);
}

void ecrire_sortie(std::string_view texte) {
    tampon.append(texte);
    vider_si_plein();
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
