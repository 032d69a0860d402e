// Natural join. The Cartesian product of the operands is registered under
// "#" and the result's name with its exact counts, but its rows are never
// stored: a hash join on the common attributes yields the matching pairs
// directly, in the product's order (by left row, then by right row).
#include "driver/erreurs.h"
#include "operators/operateurs.h"
#include "store/hachage.h"
#include "store/memoire.h"
#include "store/table_ouverte.h"

#include <vector>

namespace {

// The attributes that the two operands have in common, as pairs of positions
// in the left operand's order.
struct attributs_communs {
    int32_t gauche[MAX_CHAMPS];
    int32_t droite[MAX_CHAMPS];
    int32_t nombre = 0;
};

attributs_communs trouver_communs(const relation& g, const relation& d) {
    attributs_communs communs;
    const id_valeur* entete_g = valeurs_slot(g, 0);
    const id_valeur* entete_d = valeurs_slot(d, 0);
    for (int32_t p = 0; p < g.nb_champs; p++) {
        for (int32_t q = 0; q < d.nb_champs; q++) {
            if (entete_g[p] != entete_d[q]) continue;
            communs.gauche[communs.nombre] = p;
            communs.droite[communs.nombre] = q;
            communs.nombre++;
            break;
        }
    }
    return communs;
}

uint32_t hacher_cle(const id_valeur* valeurs, const int32_t* positions, int32_t nombre) {
    id_valeur cle[MAX_CHAMPS];
    for (int32_t i = 0; i < nombre; i++) cle[i] = valeurs[positions[i]];
    return static_cast<uint32_t>(hacher_ids(cle, nombre));
}

// The live right rows grouped by the 32-bit hash of their common values: for
// each hash the first slot (an entry of `premier`), and for each slot the
// next one of the same hash, both in slot order. Rows met through it are
// checked value by value, so that rows of other values but the same hash
// merely share a chain.
struct index_droite {
    table_ouverte<entree_ligne> premier;
    std::vector<uint32_t> suivant;
};

constexpr uint32_t AUCUN = 0;

index_droite indexer_droite(const relation& d, const attributs_communs& communs) {
    index_droite index;
    int64_t stockes = nb_slots_stockes(d);
    index.suivant.assign(static_cast<size_t>(stockes), AUCUN);
    reserver_table(index.premier, static_cast<size_t>(d.nb_actifs));
    for (int64_t slot = stockes - 1; slot >= 1; slot--) {
        if (!d.actifs[slot]) continue;
        uint32_t h = hacher_cle(valeurs_slot(d, slot), communs.droite, communs.nombre);
        entree_ligne* place =
            chercher_case(index.premier, h, [](const entree_ligne&) { return true; });
        if (place->vide()) {
            ajouter_dans(index.premier, place, entree_ligne{h, static_cast<uint32_t>(slot)});
        } else {
            index.suivant[static_cast<size_t>(slot)] = place->slot;
            place->slot = static_cast<uint32_t>(slot);
        }
    }
    return index;
}

bool concordent(const id_valeur* gauche, const id_valeur* droite,
                const attributs_communs& communs) {
    for (int32_t i = 0; i < communs.nombre; i++)
        if (gauche[communs.gauche[i]] != droite[communs.droite[i]]) return false;
    return true;
}

// The projection list of the result: the left attributes, then the right
// attributes that are not common. Fills `autres` with the latter's positions.
std::string liste_resultat(const relation& g, const relation& d, const attributs_communs& communs,
                           std::vector<int32_t>& autres) {
    std::string liste = liste_attributs(g);
    const id_valeur* entete_d = valeurs_slot(d, 0);
    for (int32_t q = 0; q < d.nb_champs; q++) {
        bool commun = false;
        for (int32_t i = 0; i < communs.nombre; i++) commun = commun || communs.droite[i] == q;
        if (commun) continue;
        liste += ',';
        ajouter_texte_valeur(liste, entete_d[q]);
        autres.push_back(q);
    }
    return liste;
}

// Appends the left row joined with the right row to the result.
void ajouter_paire(relation& res, const relation& g, const id_valeur* gauche,
                   const id_valeur* droite, const std::vector<int32_t>& autres) {
    id_valeur ligne[2 * MAX_CHAMPS];
    int32_t n = 0;
    for (int32_t i = 0; i < g.nb_champs; i++) ligne[n++] = gauche[i];
    for (int32_t q : autres) ligne[n++] = droite[q];
    // Pairs of distinct live rows agreeing on the common values are distinct.
    ajouter_ligne_distincte(res, ligne);
}

} // namespace

relation& produit_cartesien(std::string_view gauche, std::string_view droite,
                            std::string_view nom) {
    std::string liste = *transformer_tuple_liste(gauche, 0);
    liste += ',';
    liste += *transformer_tuple_liste(droite, 0);
    flag_prod_cart = 1;
    relation* produit = creer_relation(nom, liste);
    flag_prod_cart = 0;
    int64_t paires = 0;
    const relation& g = *relation_existe(gauche);
    const relation& d = *relation_existe(droite);
    if (__builtin_mul_overflow(g.nb_actifs, d.nb_actifs, &paires)) erreur(400);
    produit->nb_tuples += paires;
    produit->nb_actifs = paires;
    return *produit;
}

void jointure(std::string_view gauche, std::string_view droite, std::string_view resultat) {
    if (relation_existe(resultat)) erreur(200);
    const relation& g = operande_existante(gauche);
    const relation& d = operande_existante(droite);
    attributs_communs communs = trouver_communs(g, d);
    std::string nom_produit = "#";
    nom_produit += resultat;
    relation& produit = produit_cartesien(gauche, droite, nom_produit);

    std::vector<int32_t> autres;
    std::string liste = liste_resultat(g, d, communs, autres);
    if (relation_existe(resultat)) erreur(200);
    relation& res = *creer_relation(resultat, liste);

    // The working index counts against the memory ceiling while it lives.
    size_t taille_index = static_cast<size_t>(nb_slots_stockes(d)) * sizeof(uint32_t) +
                          static_cast<size_t>(d.nb_actifs) * 40;
    compter_memoire(taille_index);
    index_droite index = indexer_droite(d, communs);
    int64_t concordances = 0;
    int64_t stockes_g = nb_slots_stockes(g);
    // Each left row's hash is computed AVANCE rows ahead, with its place in
    // the index loaded; AVANCE / 2 rows ahead, the first right row of that
    // hash and its link are loaded.
    constexpr int64_t AVANCE = 16;
    uint32_t hachages[AVANCE];
    auto preparer = [&](int64_t slot) {
        hachages[slot % AVANCE] = hacher_cle(valeurs_slot(g, slot), communs.gauche, communs.nombre);
        precharger_table(index.premier, hachages[slot % AVANCE]);
    };
    for (int64_t slot_g = 1; slot_g < stockes_g && slot_g <= AVANCE; slot_g++) preparer(slot_g);
    for (int64_t slot_g = 1; slot_g < stockes_g; slot_g++) {
        int64_t milieu = slot_g + AVANCE / 2;
        if (milieu < stockes_g) {
            if (auto* candidate = premiere_candidate(index.premier, hachages[milieu % AVANCE])) {
                precharger(valeurs_slot(d, candidate->slot));
                precharger(index.suivant.data() + candidate->slot);
            }
        }
        uint32_t h = hachages[slot_g % AVANCE];
        if (slot_g + AVANCE < stockes_g) preparer(slot_g + AVANCE);
        if (!g.actifs[slot_g]) continue;
        const id_valeur* ligne_g = valeurs_slot(g, slot_g);
        const entree_ligne* trouve = premiere_candidate(index.premier, h);
        if (!trouve) continue;
        for (uint32_t slot_d = trouve->slot; slot_d != AUCUN; slot_d = index.suivant[slot_d]) {
            const id_valeur* ligne_d = valeurs_slot(d, slot_d);
            if (!concordent(ligne_g, ligne_d, communs)) continue;
            ajouter_paire(res, g, ligne_g, ligne_d, autres);
            concordances++;
        }
    }
    produit.nb_actifs = concordances;
    decompter_memoire(taille_index);
}
