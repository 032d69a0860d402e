#include "outils/corriger/comparaison.h"

#include <algorithm>
#include <unordered_set>

namespace {

// A row as one text that no other row gives: each value with its length.
std::string cle_ligne(const std::vector<std::string>& ligne) {
    std::string cle;
    for (const std::string& v : ligne) {
        cle += std::to_string(v.size());
        cle += ':';
        cle += v;
    }
    return cle;
}

// The names of `a` that are not in `b`, in the order of `a`.
std::vector<std::string> retirer_noms(const std::vector<std::string>& a,
                                      const std::vector<std::string>& b) {
    std::vector<std::string> reste;
    for (const std::string& n : a)
        if (std::find(b.begin(), b.end(), n) == b.end()) reste.push_back(n);
    return reste;
}

// The rows of `obtenu` with their columns put in the order of `attendus`
// (both lists hold the same names).
std::vector<std::vector<std::string>> ordonner_colonnes(const releve_affiche& obtenu,
                                                        const std::vector<std::string>& attendus) {
    std::vector<size_t> place;
    for (const std::string& n : attendus)
        place.push_back(
            static_cast<size_t>(std::find(obtenu.attributs.begin(), obtenu.attributs.end(), n) -
                                obtenu.attributs.begin()));
    std::vector<std::vector<std::string>> lignes;
    lignes.reserve(obtenu.lignes.size());
    for (const std::vector<std::string>& l : obtenu.lignes) {
        std::vector<std::string>& nouvelle = lignes.emplace_back();
        for (size_t p : place) nouvelle.push_back(l[p]);
    }
    return lignes;
}

// The rows of `a` that are not among `b`, in the order of `a`.
std::vector<std::vector<std::string>>
retirer_lignes(const std::vector<std::vector<std::string>>& a,
               const std::vector<std::vector<std::string>>& b) {
    std::unordered_set<std::string> presentes;
    presentes.reserve(b.size());
    for (const auto& l : b) presentes.insert(cle_ligne(l));
    std::vector<std::vector<std::string>> reste;
    for (const auto& l : a)
        if (!presentes.count(cle_ligne(l))) reste.push_back(l);
    return reste;
}

// The reference's listing `attendu` against the answer's (null: not printed).
comparaison_relation comparer_relation(const releve_affiche& attendu,
                                       const releve_affiche* obtenu) {
    comparaison_relation c;
    c.nom = attendu.nom;
    c.attributs_attendus = attendu.attributs;
    if (!obtenu) {
        c.statut = ABSENTE;
        c.manquantes = attendu.lignes;
        return c;
    }
    c.attributs_obtenus = obtenu->attributs;
    c.attributs_manquants = retirer_noms(attendu.attributs, obtenu->attributs);
    c.attributs_en_trop = retirer_noms(obtenu->attributs, attendu.attributs);
    if (!c.attributs_manquants.empty() || !c.attributs_en_trop.empty()) {
        c.statut = DIFFERENTE;
        return c;
    }
    std::vector<std::vector<std::string>> lignes = ordonner_colonnes(*obtenu, attendu.attributs);
    c.manquantes = retirer_lignes(attendu.lignes, lignes);
    c.en_trop = retirer_lignes(lignes, attendu.lignes);
    c.statut = c.manquantes.empty() && c.en_trop.empty() ? IDENTIQUE : DIFFERENTE;
    return c;
}

} // namespace

bilan_correction comparer_resultats(const resultat_programme& attendu,
                                    const resultat_programme& obtenu) {
    bilan_correction bilan;
    bilan.erreur_reponse = obtenu.erreur;
    bilan.identique = !obtenu.erreur;
    for (const releve_affiche& r : attendu.releves) {
        bilan.relations.push_back(comparer_relation(r, trouver_releve(obtenu, r.nom)));
        if (bilan.relations.back().statut != IDENTIQUE) bilan.identique = false;
    }
    return bilan;
}

bool ordre_different(const comparaison_relation& c) {
    return c.statut != ABSENTE && c.attributs_manquants.empty() && c.attributs_en_trop.empty() &&
           c.attributs_attendus != c.attributs_obtenus;
}
