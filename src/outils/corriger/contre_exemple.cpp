#include "outils/corriger/contre_exemple.h"

#include "outils/corriger/lancer.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace {

using horloge = std::chrono::steady_clock;

// What the search needs at each trial.
struct recherche {
    const std::vector<instruction_donnees>* instructions = nullptr;
    std::vector<size_t> indices_donnees; // positions of the @data statements
    const std::string* reference = nullptr;
    const std::string* reponse = nullptr;
    horloge::time_point limite;
    bool interrompue = false;
    int64_t nb_essais = 0;
};

bool espace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// A statement on one line: its line ends turned to blanks, trailing blanks cut.
std::string nettoyer(std::string texte) {
    std::replace(texte.begin(), texte.end(), '\n', ' ');
    std::replace(texte.begin(), texte.end(), '\r', ' ');
    while (!texte.empty() && espace(texte.back())) texte.pop_back();
    return texte;
}

// The data text made of every non-@data statement and the @data statements
// `gardees` (positions among the @data ones, increasing), one per line.
std::string composer(const recherche& r, const std::vector<size_t>& gardees) {
    std::vector<bool> garde(r.instructions->size(), true);
    for (size_t i : r.indices_donnees) garde[i] = false;
    for (size_t k : gardees) garde[r.indices_donnees[k]] = true;
    std::string texte;
    for (size_t i = 0; i < garde.size(); i++)
        if (garde[i]) texte += (*r.instructions)[i].texte + "\n";
    return texte;
}

// True when, on the data made of `gardees`, the reference runs cleanly and
// the answer does not give the same relations. False once time is up.
bool differe(recherche& r, const std::vector<size_t>& gardees) {
    if (horloge::now() >= r.limite) {
        r.interrompue = true;
        return false;
    }
    r.nb_essais++;
    std::string donnees = composer(r, gardees);
    resultat_programme ref = lancer_programme(donnees, true, *r.reference);
    if (ref.erreur) return false;
    return !comparer_resultats(ref, lancer_programme(donnees, true, *r.reponse)).identique;
}

// `c` cut into `n` parts of nearly equal size.
std::vector<std::vector<size_t>> partager(const std::vector<size_t>& c, size_t n) {
    std::vector<std::vector<size_t>> parts(n);
    for (size_t p = 0; p < n; p++)
        parts[p].assign(c.begin() + static_cast<std::ptrdiff_t>(c.size() * p / n),
                        c.begin() + static_cast<std::ptrdiff_t>(c.size() * (p + 1) / n));
    return parts;
}

// `c` without the elements of `part` (both increasing).
std::vector<size_t> complement(const std::vector<size_t>& c, const std::vector<size_t>& part) {
    std::vector<size_t> reste;
    std::set_difference(c.begin(), c.end(), part.begin(), part.end(), std::back_inserter(reste));
    return reste;
}

// Delta debugging: narrows `c` (on which they differ) to a part or to a
// complement on which they still differ, refining the cut when neither does.
std::vector<size_t> reduire(recherche& r, std::vector<size_t> c) {
    size_t n = 2;
    while (c.size() >= 2 && !r.interrompue) {
        std::vector<std::vector<size_t>> parts = partager(c, n);
        bool reduit = false;
        for (size_t p = 0; p < parts.size() && !reduit && !r.interrompue; p++)
            if (differe(r, parts[p])) {
                c = parts[p];
                n = 2;
                reduit = true;
            }
        for (size_t p = 0; p < parts.size() && !reduit && !r.interrompue && n > 2; p++)
            if (std::vector<size_t> reste = complement(c, parts[p]); differe(r, reste)) {
                c = reste;
                n = std::max<size_t>(n - 1, 2);
                reduit = true;
            }
        if (reduit) continue;
        if (n >= c.size()) break;
        n = std::min(c.size(), 2 * n);
    }
    return c;
}

// Removes single statements while they still differ without it, until no
// single removal keeps them apart: the result is 1-minimal.
std::vector<size_t> minimiser(recherche& r, std::vector<size_t> c) {
    for (size_t i = 0; i < c.size() && !r.interrompue;) {
        std::vector<size_t> sans = c;
        sans.erase(sans.begin() + static_cast<std::ptrdiff_t>(i));
        if (differe(r, sans))
            c = std::move(sans);
        else
            i++;
    }
    return c;
}

} // namespace

std::vector<instruction_donnees> decouper_instructions(const std::string& texte) {
    std::vector<instruction_donnees> instructions;
    size_t debut = 0;
    for (size_t i = 0; i <= texte.size(); i++) {
        bool coupe = i == texte.size() || (texte[i] == '@' && i > 0 && espace(texte[i - 1]));
        if (!coupe) continue;
        std::string morceau = nettoyer(texte.substr(debut, i - debut));
        size_t tete = 0;
        while (tete < morceau.size() && espace(morceau[tete])) tete++;
        if (tete < morceau.size())
            instructions.push_back(
                instruction_donnees{morceau.substr(tete), morceau.compare(tete, 5, "@data") == 0});
        debut = i;
    }
    return instructions;
}

contre_exemple chercher_contre_exemple(const std::string& donnees, const std::string& reference,
                                       const std::string& reponse, long secondes) {
    std::vector<instruction_donnees> instructions = decouper_instructions(donnees);
    recherche r;
    r.instructions = &instructions;
    r.reference = &reference;
    r.reponse = &reponse;
    for (size_t i = 0; i < instructions.size(); i++)
        if (instructions[i].donnee) r.indices_donnees.push_back(i);
    std::vector<size_t> c(r.indices_donnees.size());
    for (size_t k = 0; k < c.size(); k++) c[k] = k;

    // Past a year the clock's arithmetic could overflow; no search lasts so long.
    secondes = std::min(secondes, 365L * 24 * 3600);
    contre_exemple ce;
    ce.nb_donnees_depart = static_cast<int64_t>(c.size());
    // Time is not counted against the first trial: it checks the rewriting.
    r.limite = horloge::time_point::max();
    ce.trouve = differe(r, c);
    r.limite = horloge::now() + std::chrono::seconds(secondes);
    if (ce.trouve) c = minimiser(r, reduire(r, c));
    ce.interrompu = r.interrompue;
    ce.nb_essais = r.nb_essais;
    ce.nb_donnees = static_cast<int64_t>(c.size());
    ce.texte = composer(r, c);
    ce.reference = lancer_programme(ce.texte, true, reference);
    ce.reponse = lancer_programme(ce.texte, true, reponse);
    ce.bilan = comparer_resultats(ce.reference, ce.reponse);
    return ce;
}
