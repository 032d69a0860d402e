#include "outils/corriger/options.h"

#include "outils/commun/usage.h"

#include <sys/stat.h>

const char* const USAGE_CORRIGER =
    "algrel-corriger [--format texte|json] [--lignes N] [--temps S] [--contre-exemple FICHIER] "
    "[donnees.vorn] reference.vorn reponse.vorn\n"
    "        algrel-corriger --sorties [--format texte|json] [--lignes N] attendu.vorn "
    "obtenu.vorn";

namespace {

// The value after option `argv[i]`, moving `i` onto it.
std::string lire_valeur(int argc, const char* const* argv, int& i) {
    if (i + 1 >= argc)
        throw erreur_usage{"l'option " + std::string(argv[i]) + " attend une valeur"};
    return argv[++i];
}

bool est_repertoire(const std::string& chemin) {
    struct stat infos;
    return stat(chemin.c_str(), &infos) == 0 && S_ISDIR(infos.st_mode);
}

// The number of files and the options allowed with each form.
void verifier_options(const options_corriger& o) {
    size_t n = o.fichiers.size();
    if (o.sorties && n != 2)
        throw erreur_usage{"--sorties compare deux fichiers : attendu.vorn obtenu.vorn"};
    if (o.sorties && o.contre_exemple)
        throw erreur_usage{"--contre-exemple demande des programmes, pas des sorties"};
    if (!o.sorties && (n < 2 || n > 3))
        throw erreur_usage{"il faut un fichier de référence et un fichier de réponse, "
                           "précédés au plus d'un fichier de données"};
    if (!o.contre_exemple) return;
    if (n != 3) throw erreur_usage{"--contre-exemple demande un fichier de données"};
    const std::string& cible = *o.contre_exemple;
    for (const std::string& f : o.fichiers)
        if (cible == f || meme_fichier(cible, f))
            throw erreur_usage{"le contre-exemple ne peut pas être écrit sur « " + f +
                               " », qui est une entrée"};
    if (est_repertoire(cible))
        throw erreur_usage{"« " + cible + " » est un répertoire, pas un fichier"};
    // Known before the search, rather than after it.
    size_t barre = cible.rfind('/');
    std::string dossier = barre == std::string::npos ? "." : cible.substr(0, barre + 1);
    if (!est_repertoire(dossier))
        throw erreur_usage{"le dossier « " + dossier + " » du contre-exemple n'existe pas"};
}

} // namespace

options_corriger lire_options(int argc, const char* const* argv) {
    options_corriger o;
    bool fin_options = false;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (fin_options || a.size() < 2 || a.compare(0, 2, "--") != 0) {
            o.fichiers.push_back(a);
        } else if (a == "--") {
            fin_options = true;
        } else if (a == "--help" || a == "--aide") {
            o.aide = true;
        } else if (a == "--sorties") {
            o.sorties = true;
        } else if (a == "--format") {
            std::string f = lire_valeur(argc, argv, i);
            if (f != "texte" && f != "json")
                throw erreur_usage{"format inconnu « " + f + " » : texte ou json"};
            o.json = f == "json";
        } else if (a == "--lignes") {
            o.max_lignes = lire_nombre(a, lire_valeur(argc, argv, i));
        } else if (a == "--temps") {
            o.secondes = lire_nombre(a, lire_valeur(argc, argv, i));
        } else if (a == "--contre-exemple") {
            o.contre_exemple = lire_valeur(argc, argv, i);
        } else {
            throw erreur_usage{"option inconnue « " + a + " »"};
        }
    }
    if (!o.aide) verifier_options(o);
    return o;
}
