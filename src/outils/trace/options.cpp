#include "outils/trace/options.h"

#include "outils/commun/usage.h"

#include <vector>

const char* const USAGE_TRACE =
    "algrel-trace [--lignes N] [--cadre ascii|unicode] [--format texte|json|csv|markdown] "
    "[donnees.vorn] commandes.vorn";

namespace {

// The value of option `nom`: after '=' in the same argument, else the next one.
std::string lire_valeur(const std::string& nom, const std::string& arg, size_t egal,
                        int& i, int argc, const char* const* argv) {
    if (egal != std::string::npos) return arg.substr(egal + 1);
    if (i + 1 >= argc) throw erreur_usage{"l'option " + nom + " attend une valeur"};
    return argv[++i];
}

// The value of --format.
format_sortie lire_format(const std::string& valeur) {
    if (valeur == "texte") return format_sortie::texte;
    if (valeur == "json") return format_sortie::json;
    if (valeur == "csv") return format_sortie::csv;
    if (valeur == "markdown") return format_sortie::markdown;
    throw erreur_usage{"format inconnu « " + valeur + " » (texte, json, csv ou markdown)"};
}

// The value of --cadre: true for unicode.
bool lire_cadre(const std::string& valeur) {
    if (valeur == "ascii") return false;
    if (valeur == "unicode") return true;
    throw erreur_usage{"cadre inconnu « " + valeur + " » (ascii ou unicode)"};
}

// Applies the option in argv[i] (which may take the next argument).
void lire_option(options_trace& o, int& i, int argc, const char* const* argv) {
    std::string arg = argv[i];
    size_t egal = arg.find('=');
    std::string nom = arg.substr(0, egal);
    if (nom == "--help" && egal == std::string::npos) {
        o.aide = true;
    } else if (nom == "--lignes") {
        o.max_lignes = lire_nombre(nom, lire_valeur(nom, arg, egal, i, argc, argv));
    } else if (nom == "--cadre") {
        o.unicode = lire_cadre(lire_valeur(nom, arg, egal, i, argc, argv));
    } else if (nom == "--format") {
        o.format = lire_format(lire_valeur(nom, arg, egal, i, argc, argv));
    } else {
        throw erreur_usage{"option inconnue « " + arg + " »"};
    }
}

} // namespace

options_trace lire_options(int argc, const char* const* argv) {
    options_trace o;
    std::vector<std::string> fichiers;
    bool fin_options = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (!fin_options && arg == "--") {
            fin_options = true;
        } else if (!fin_options && arg.size() > 1 && arg[0] == '-') {
            lire_option(o, i, argc, argv);
        } else {
            fichiers.push_back(arg);
        }
    }
    if (o.aide) return o;
    if (fichiers.empty()) throw erreur_usage{"il manque le fichier de commandes"};
    if (fichiers.size() > 2) throw erreur_usage{"trop de fichiers (deux au plus)"};
    if (fichiers.size() == 2) o.donnees = fichiers[0];
    o.commandes = fichiers.back();
    return o;
}
