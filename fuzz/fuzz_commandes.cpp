// Arbitrary bytes as the only input file (data and commands in one file).
#include "banc.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    preparer_banc();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* octets, size_t taille) {
    ecrire_fichier(banc.commandes, octets, taille);
    lancer(banc.commandes.c_str(), banc.sortie.c_str());
    verifier_relecture();
    return 0;
}
