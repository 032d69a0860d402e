#include "outils/trace/erreurs_retenues.h"

#include <unistd.h>

erreurs_retenues retenir_erreurs() {
    erreurs_retenues r;
    std::fflush(stderr);
    r.fichier = std::tmpfile();
    if (!r.fichier) return r;
    r.ancienne = dup(STDERR_FILENO);
    if (r.ancienne < 0 || dup2(fileno(r.fichier), STDERR_FILENO) < 0) {
        if (r.ancienne >= 0) close(r.ancienne);
        std::fclose(r.fichier);
        return erreurs_retenues{};
    }
    return r;
}

size_t rendre_erreurs(erreurs_retenues& r) {
    if (!r.fichier) return 0;
    std::fflush(stderr);
    dup2(r.ancienne, STDERR_FILENO);
    close(r.ancienne);
    std::rewind(r.fichier);
    char bloc[4096];
    size_t lus, total = 0;
    while ((lus = std::fread(bloc, 1, sizeof bloc, r.fichier)) > 0) {
        std::fwrite(bloc, 1, lus, stderr);
        total += lus;
    }
    std::fclose(r.fichier);
    r.fichier = nullptr;
    return total;
}
