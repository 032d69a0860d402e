#include "outils/corriger/sorties.h"

#include "language/jetons.h"
#include "outils/corriger/lancer.h"

#include <cctype>

namespace {

// One listing of the file: its text and the line where it begins.
struct morceau {
    std::string texte;
    int32_t premiere_ligne = 1;
};

// Cuts `texte` before every line that begins with "@relation ". What comes
// before the first listing must be blank.
std::vector<morceau> decouper_listings(const std::string& chemin, const std::string& texte) {
    std::vector<morceau> morceaux;
    int32_t ligne = 1;
    size_t debut = 0;
    while (debut < texte.size()) {
        size_t fin = texte.find('\n', debut);
        fin = fin == std::string::npos ? texte.size() : fin + 1;
        std::string_view une(texte.data() + debut, fin - debut);
        if (une.starts_with("@relation ")) morceaux.push_back(morceau{"", ligne});
        if (!morceaux.empty()) {
            morceaux.back().texte.append(une);
        } else {
            for (char c : une)
                if (!std::isspace(static_cast<unsigned char>(c)))
                    throw erreur_entree{
                        "« " + chemin + " » n'est pas une sortie d'algrel : ligne " +
                        std::to_string(ligne) + ", du texte avant la première relation"};
        }
        ligne++;
        debut = fin;
    }
    return morceaux;
}

// The relation name after "@relation ": the letters, digits and underscores.
std::string nom_listing(const std::string& texte) {
    size_t i = std::string("@relation ").size();
    size_t fin = i;
    while (fin < texte.size() &&
           (std::isalnum(static_cast<unsigned char>(texte[fin])) || texte[fin] == '_'))
        fin++;
    return texte.substr(i, fin - i);
}

// Reads one listing by running it, followed by an @print of its relation;
// anything but one @relation and its @data statements is refused.
releve_affiche lire_listing(const std::string& chemin, const morceau& m) {
    std::string nom = nom_listing(m.texte);
    std::string commandes = m.texte + "\n@print " + nom + ":\n";
    resultat_programme r = lancer_programme("", false, commandes);
    bool forme = !r.erreur && r.releves.size() == 1 && r.releves[0].nom == nom;
    int nb_relations = 0;
    for (const instruction_notee& ins : journal.instructions) {
        if (ins.mot == AT_RELATION)
            nb_relations++;
        else if (ins.mot != AT_DATA && ins.mot != AT_PRINT)
            forme = false;
    }
    if (forme && nb_relations == 1) return r.releves[0];
    std::string detail = "listing mal formé";
    if (r.erreur) {
        erreur_notee e = *r.erreur;
        e.ligne += m.premiere_ligne - 1;
        detail = texte_erreur(e);
    }
    throw erreur_entree{"« " + chemin +
                        " » n'est pas une sortie d'algrel : la relation commençant ligne " +
                        std::to_string(m.premiere_ligne) + " : " + detail};
}

} // namespace

resultat_programme lire_sorties(const std::string& chemin, const std::string& texte) {
    resultat_programme resultat;
    for (const morceau& m : decouper_listings(chemin, texte)) {
        releve_affiche releve = lire_listing(chemin, m);
        bool remplace = false;
        for (releve_affiche& r : resultat.releves)
            if (r.nom == releve.nom) {
                r = releve;
                remplace = true;
            }
        if (!remplace) resultat.releves.push_back(std::move(releve));
    }
    return resultat;
}
