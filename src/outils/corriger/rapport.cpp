#include "outils/corriger/rapport.h"

#include "outils/commun/json.h"

namespace {

// The values joined by commas, as a listing writes a row.
std::string joindre(const std::vector<std::string>& valeurs) {
    std::string texte;
    for (size_t i = 0; i < valeurs.size(); i++) texte += (i ? "," : "") + valeurs[i];
    return texte;
}

// "1 ligne manquante" / "3 lignes manquantes".
std::string compter(size_t n, const char* singulier, const char* pluriel) {
    return std::to_string(n) + " " + (n > 1 ? pluriel : singulier);
}

// At most `max_lignes` of `lignes` under a heading that counts them all.
std::string ecrire_lignes(const std::vector<std::vector<std::string>>& lignes,
                          const std::string& titre, long max_lignes) {
    if (lignes.empty()) return "";
    std::string texte = "  " + titre + " :\n";
    size_t montrees = std::min(lignes.size(), static_cast<size_t>(max_lignes));
    for (size_t i = 0; i < montrees; i++) texte += "    " + joindre(lignes[i]) + "\n";
    if (montrees < lignes.size())
        texte += "    ... et " + std::to_string(lignes.size() - montrees) + " de plus\n";
    return texte;
}

// The report's lines for one relation: its status, then what differs.
std::string ecrire_relation(const comparaison_relation& c, long max_lignes) {
    std::string texte = "Relation " + c.nom + " : ";
    if (c.statut == ABSENTE) return texte + "absente (la réponse ne l'affiche pas)\n";
    if (c.statut == IDENTIQUE) {
        texte += "identique";
        if (ordre_different(c))
            texte += " (attributs dans un autre ordre : " + joindre(c.attributs_obtenus) +
                     " au lieu de " + joindre(c.attributs_attendus) + ")";
        return texte + "\n";
    }
    texte += "différente\n";
    if (!c.attributs_manquants.empty())
        texte += "  attributs manquants : " + joindre(c.attributs_manquants) + "\n";
    if (!c.attributs_en_trop.empty())
        texte += "  attributs en trop : " + joindre(c.attributs_en_trop) + "\n";
    if (!c.attributs_manquants.empty() || !c.attributs_en_trop.empty())
        return texte + "  attributs attendus : " + joindre(c.attributs_attendus) +
               "\n  attributs obtenus : " + joindre(c.attributs_obtenus) +
               "\n  (lignes non comparées : les attributs diffèrent)\n";
    if (ordre_different(c))
        texte += "  attributs dans un autre ordre : " + joindre(c.attributs_obtenus) +
                 " au lieu de " + joindre(c.attributs_attendus) + "\n";
    texte += ecrire_lignes(c.manquantes,
                           compter(c.manquantes.size(), "ligne manquante", "lignes manquantes"),
                           max_lignes);
    texte += ecrire_lignes(c.en_trop, compter(c.en_trop.size(), "ligne en trop", "lignes en trop"),
                           max_lignes);
    return texte;
}

// What one program printed on the counter-example, for the relations that
// differ there.
std::string ecrire_resultats(const resultat_programme& r, const bilan_correction& bilan,
                             long max_lignes) {
    std::string texte;
    for (const comparaison_relation& c : bilan.relations) {
        if (c.statut == IDENTIQUE) continue;
        const releve_affiche* releve = trouver_releve(r, c.nom);
        texte +=
            releve ? ecrire_listing(*releve, "  ", max_lignes) : "  " + c.nom + " : non affichée\n";
    }
    if (r.erreur) texte += "  " + texte_erreur(*r.erreur) + "\n";
    return texte;
}

// The file found, one line of the report a line: all of it when the search
// has ended (a minimal file is small), else its first `max_lignes` lines.
std::string ecrire_fichier_trouve(const contre_exemple& ce, const std::string& chemin,
                                  long max_lignes) {
    std::string texte;
    long nb_lignes = 0;
    size_t debut = 0;
    while (debut < ce.texte.size()) {
        size_t fin = ce.texte.find('\n', debut);
        if (!ce.interrompu || nb_lignes < max_lignes)
            texte += "  " + ce.texte.substr(debut, fin - debut) + "\n";
        nb_lignes++;
        debut = fin + 1;
    }
    if (ce.interrompu && nb_lignes > max_lignes)
        texte += "  ... et " + std::to_string(nb_lignes - max_lignes) + " lignes de plus dans " +
                 chemin + "\n";
    return texte;
}

// The counter-example part of the report: the file and both results on it.
std::string ecrire_contre_exemple(const contre_exemple& ce, const std::string& chemin,
                                  long secondes, long max_lignes) {
    if (!ce.trouve)
        return "Pas de contre-exemple : sur les données réécrites une instruction par ligne, "
               "les deux programmes s'accordent.\n";
    std::string texte =
        "Contre-exemple écrit dans " + chemin + " : " +
        compter(static_cast<size_t>(ce.nb_donnees), "ligne @data gardée", "lignes @data gardées") +
        " sur " + std::to_string(ce.nb_donnees_depart) + " (" +
        compter(static_cast<size_t>(ce.nb_essais), "essai", "essais") + ")\n";
    if (ce.interrompu)
        texte += "  recherche arrêtée au bout de " + std::to_string(secondes) +
                 " s (--temps) : le contre-exemple n'est peut-être pas minimal\n";
    texte += ecrire_fichier_trouve(ce, chemin, max_lignes);
    texte += "Sur ce contre-exemple, la référence affiche :\n" +
             ecrire_resultats(ce.reference, ce.bilan, max_lignes);
    texte += "et la réponse :\n" + ecrire_resultats(ce.reponse, ce.bilan, max_lignes);
    return texte;
}

// The JSON spelling of a status (no accent, as a script reads it).
const char* statut_json(statut_relation s) {
    return s == IDENTIQUE ? "identique" : s == DIFFERENTE ? "different" : "absente";
}

// One element of the "relations" array.
std::string relation_json(const comparaison_relation& c) {
    return std::string("{\"nom\": ") + texte_json(c.nom) + ", \"statut\": \"" +
           statut_json(c.statut) +
           "\", \"attributs_attendus\": " + liste_json(c.attributs_attendus) +
           ", \"attributs_obtenus\": " + liste_json(c.attributs_obtenus) +
           ", \"manquantes\": " + lignes_json(c.manquantes) +
           ", \"en_trop\": " + lignes_json(c.en_trop) +
           ", \"nb_manquantes\": " + std::to_string(c.manquantes.size()) +
           ", \"nb_en_trop\": " + std::to_string(c.en_trop.size()) + "}";
}

} // namespace

std::string ecrire_listing(const releve_affiche& r, const std::string& retrait, long max_lignes) {
    std::string texte = retrait + "@relation " + r.nom + ":" + joindre(r.attributs) + "\n";
    size_t montrees = std::min(r.lignes.size(), static_cast<size_t>(max_lignes));
    for (size_t i = 0; i < montrees; i++)
        texte += retrait + "@data " + r.nom + ":" + joindre(r.lignes[i]) + "\n";
    if (montrees < r.lignes.size())
        texte += retrait + "... et " + std::to_string(r.lignes.size() - montrees) + " de plus\n";
    return texte;
}

std::string ecrire_rapport_texte(const bilan_correction& bilan, long max_lignes,
                                 const contre_exemple* ce, const std::string& chemin_ce,
                                 long secondes) {
    std::string texte;
    if (bilan.relations.empty()) texte += "La référence n'affiche aucune relation.\n";
    for (const comparaison_relation& c : bilan.relations) texte += ecrire_relation(c, max_lignes);
    if (bilan.erreur_reponse)
        texte +=
            "La réponse s'arrête sur une erreur : " + texte_erreur(*bilan.erreur_reponse) + "\n";
    if (ce) texte += ecrire_contre_exemple(*ce, chemin_ce, secondes, max_lignes);
    return texte + "Verdict : " + (bilan.identique ? "identique" : "différente") + "\n";
}

std::string ecrire_rapport_json(const bilan_correction& bilan) {
    std::string texte = std::string("{\"verdict\": \"") +
                        (bilan.identique ? "identique" : "different") + "\", \"relations\": [";
    for (size_t i = 0; i < bilan.relations.size(); i++)
        texte += (i ? ", " : "") + relation_json(bilan.relations[i]);
    texte += "], \"erreur_reponse\": ";
    if (!bilan.erreur_reponse) return texte + "null}\n";
    const erreur_notee& e = *bilan.erreur_reponse;
    return texte + "{\"ligne\": " + std::to_string(e.ligne) +
           ", \"code\": " + std::to_string(e.code) + ", \"message\": " + texte_json(e.message) +
           "}}\n";
}

std::string ecrire_json_erreur() {
    return "{\"verdict\": \"erreur\", \"relations\": [], \"erreur_reponse\": null}\n";
}
