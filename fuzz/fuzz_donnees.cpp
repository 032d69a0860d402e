// Arbitrary bytes cut in two at the first NUL byte: the data file before it,
// the command file after it (without a NUL, the command file is empty). The
// command file may hold further NUL bytes; the data file never does, which
// the other target covers.
#include "banc.h"

#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    preparer_banc();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    const void* nul = taille ? std::memchr(octets, 0, taille) : nullptr;
    size_t taille_donnees =
        nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - octets) : taille;
    size_t debut_commandes = nul ? taille_donnees + 1 : taille;
    ecrire_fichier(banc.donnees, octets, taille_donnees);
    ecrire_fichier(banc.commandes, octets + debut_commandes, taille - debut_commandes);
    lancer(banc.donnees.c_str(), banc.commandes.c_str(), banc.sortie.c_str());
    verifier_relecture();
    return 0;
}
