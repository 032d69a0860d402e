// Creation of relations and insertion of rows. Rows repeating a live row keep
// their slot but are retired; the search for a repeat goes through the
// relation's hash set of live rows instead of a scan of every earlier row.
// Both the interning of rows given as text and the search for repeats wait
// until many rows can be handled together, or until the relation is read.
#include "driver/erreurs.h"
#include "store/memoire.h"
#include "store/relation.h"


#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

int32_t flag_prod_cart = 0;

relation::relation() : index(0, hachage_ligne{}, egalite_ligne{this}) {}

// --- lists

// The items of a list, cut at every comma (empty items included); only the
// first MAX_CHAMPS items are cut, callers have counted the list before.
struct liste_decoupee {
    std::array<std::string_view, MAX_CHAMPS> items;
    int32_t nombre = 0;
};

static liste_decoupee decouper(std::string_view liste) {
    liste_decoupee decoupe;
    size_t debut = 0;
    while (decoupe.nombre < MAX_CHAMPS) {
        size_t virgule = liste.find(',', debut);
        decoupe.items[decoupe.nombre++] = liste.substr(debut, virgule - debut);
        if (virgule == std::string_view::npos) break;
        debut = virgule + 1;
    }
    return decoupe;
}

// Refuses an empty item (205) or one too long for a value (209), then interns
// the items into `ids`. The list holds `nombre` items, already counted.
static void interner_items(std::string_view liste, int32_t nombre, id_valeur* ids) {
    // A copy with room past its end for interner_valeurs to read.
    char copie[MAX_LISTE + MARGE_LECTURE] = {};
    std::memcpy(copie, liste.data(), liste.size());
    liste_decoupee decoupe = decouper(std::string_view(copie, liste.size()));
    for (int32_t i = 0; i < nombre; i++) {
        if (decoupe.items[i].empty()) erreur(205);
        if (decoupe.items[i].size() > MAX_VALEUR) erreur(209);
    }
    interner_valeurs(decoupe.items.data(), nombre, ids);
}

int32_t compter_champs(std::string_view liste) {
    if (liste.empty()) erreur(205);
    return 1 + static_cast<int32_t>(std::count(liste.begin(), liste.end(), ','));
}

int comparer_noms_champs(std::string_view liste) {
    liste_decoupee decoupe = decouper(liste);
    for (int32_t i = 0; i + 1 < decoupe.nombre; i++)
        for (int32_t j = i + 1; j < decoupe.nombre; j++)
            if (decoupe.items[i] == decoupe.items[j]) return 1;
    return 0;
}

// --- slots

// Makes room for one more stored slot; the room doubles each time it fills.
static void reserver_slot(relation& rel) {
    if (rel.stockes < rel.capacite) return;
    int64_t nouvelle = std::max<int64_t>(4, rel.capacite * 2);
    if (nouvelle > int64_t{UINT32_MAX}) erreur(400);
    size_t champs = static_cast<size_t>(rel.nb_champs);
    // Each slot: its ids, its flag, and about 16 bytes of the row index.
    compter_memoire(static_cast<size_t>(nouvelle - rel.capacite) *
                    (champs * sizeof(id_valeur) + 1 + 16));
    auto valeurs = std::make_unique_for_overwrite<id_valeur[]>(static_cast<size_t>(nouvelle) * champs);
    auto actifs = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(nouvelle));
    size_t stockes = static_cast<size_t>(rel.stockes);
    if (stockes > 0) {
        std::memcpy(valeurs.get(), rel.valeurs.get(), stockes * champs * sizeof(id_valeur));
        std::memcpy(actifs.get(), rel.actifs.get(), stockes);
    }
    rel.valeurs = std::move(valeurs);
    rel.actifs = std::move(actifs);
    rel.capacite = nouvelle;
}

static void empiler_slot(relation& rel, const id_valeur* valeurs, uint8_t actif) {
    reserver_slot(rel);
    id_valeur* place = rel.valeurs.get() + rel.stockes * rel.nb_champs;
    for (int32_t i = 0; i < rel.nb_champs; i++) place[i] = valeurs[i];
    rel.actifs[rel.stockes++] = actif;
    rel.nb_tuples++;
    if (actif) rel.nb_actifs++;
}

void verifier_doublon(relation& rel) {
    if (rel.en_attente == 0) return;
    int64_t fin = nb_slots_stockes(rel);
    int64_t debut = fin - rel.en_attente;
    rel.en_attente = 0;
    if (!rel.index_valide) reconstruire_index(rel, debut);
    // Looking a few rows ahead lets the memory accesses of the set overlap.
    constexpr int64_t AVANCE = 16;
    for (int64_t slot = debut; slot < fin; slot++) {
        if (slot + AVANCE < fin) precharger_ligne(rel, valeurs_slot(rel, slot + AVANCE));
        if (rel.actifs[slot] && !indexer_ligne(rel, static_cast<uint32_t>(slot))) {
            rel.actifs[slot] = 0;
            rel.nb_actifs--;
        }
    }
}

int comparer_champ_champ(const relation& rel, int64_t a, int64_t b) {
    size_t taille = static_cast<size_t>(rel.nb_champs) * sizeof(id_valeur);
    return std::memcmp(valeurs_slot(rel, a), valeurs_slot(rel, b), taille) == 0 ? 1 : 0;
}

void ajouter_ligne(relation& rel, const id_valeur* valeurs) {
    constexpr int64_t LOT = 4096;
    empiler_slot(rel, valeurs, 1);
    if (++rel.en_attente >= LOT) verifier_doublon(rel);
}

void ajouter_ligne_distincte(relation& rel, const id_valeur* valeurs) {
    verifier_doublon(rel);
    if (rel.index_valide) liberer_index(rel);
    empiler_slot(rel, valeurs, 1);
}

void ajouter_ligne_retiree(relation& rel, const id_valeur* valeurs) {
    empiler_slot(rel, valeurs, 0);
}

// --- the two entry points

relation* creer_relation(std::string_view nom, std::string_view liste) {
    if (nom.size() > MAX_NOM_RELATION) erreur(209);
    if (liste.size() > MAX_LISTE) erreur(209);
    if (relation_existe(nom)) erreur(200);
    int32_t nb_champs = compter_champs(liste);
    if (nb_champs > MAX_CHAMPS) erreur(202);
    if (comparer_noms_champs(liste) && flag_prod_cart == 0) erreur(208);
    id_valeur entete[MAX_CHAMPS];
    interner_items(liste, nb_champs, entete);

    // Everything is allocated before registration: a failed creation leaves
    // nothing in the dictionary.
    auto nouvelle = std::make_unique<relation>();
    nouvelle->nom = std::string(nom);
    nouvelle->nb_champs = nb_champs;
    empiler_slot(*nouvelle, entete, 0);
    return ajouter_ds_dico(std::move(nouvelle));
}

// --- rows given as text

// Rows given as list texts wait here, all of one relation and LOT_TEXTES at
// most, so that their values are interned together and the lookups of many
// values overlap in memory. Every check of a row is made when it arrives.
struct lot_textes {
    relation* rel = nullptr;
    std::string listes; // the lists, each followed by a comma
    int64_t lignes = 0;
    std::vector<std::string_view> items;
    std::vector<id_valeur> ids;
};
static lot_textes lot;
static constexpr int64_t LOT_TEXTES = 4096;

void inserer_lignes_en_attente() {
    if (lot.lignes == 0) return;
    lot.items.clear();
    size_t taille = lot.listes.size();
    lot.listes.append(MARGE_LECTURE, '\0'); // room for interner_valeurs to read
    const char* item = lot.listes.data();
    const char* fin = item + taille;
    while (item < fin) {
        const char* virgule = static_cast<const char*>(std::memchr(item, ',', static_cast<size_t>(fin - item)));
        lot.items.emplace_back(item, static_cast<size_t>(virgule - item));
        item = virgule + 1;
    }
    lot.ids.resize(lot.items.size());
    interner_valeurs(lot.items.data(), static_cast<int32_t>(lot.items.size()), lot.ids.data());
    relation& rel = *lot.rel;
    for (size_t debut = 0; debut < lot.ids.size(); debut += static_cast<size_t>(rel.nb_champs))
        ajouter_ligne(rel, lot.ids.data() + debut);
    oublier_lignes_en_attente();
}

void oublier_lignes_en_attente() {
    lot.rel = nullptr;
    lot.listes.clear();
    lot.lignes = 0;
}

// The code refusing an item of a list, the first empty one (205) or too
// long for a value (209), or 0.
static int verifier_item(size_t longueur) {
    return longueur == 0 ? 205 : longueur > MAX_VALEUR ? 209 : 0;
}

void ajouter_tuple(std::string_view nom, std::string_view liste) {
    if (liste.size() > MAX_LISTE) erreur(209);
    // Data lines come in runs for one relation: its name is compared first.
    relation* rel = lot.rel && lot.rel->nom == nom ? lot.rel : relation_enregistree(nom);
    if (!rel) erreur(203);
    if (liste.empty()) erreur(205);
    // One pass counts the items (for 201) and finds the first bad one.
    int32_t nombre = 1;
    int code_item = 0;
    size_t debut = 0;
    for (size_t i = 0; i < liste.size(); i++) {
        if (liste[i] != ',') continue;
        if (code_item == 0) code_item = verifier_item(i - debut);
        nombre++;
        debut = i + 1;
    }
    if (code_item == 0) code_item = verifier_item(liste.size() - debut);
    if (nombre != rel->nb_champs) erreur(201);
    if (code_item) erreur(code_item);
    if (lot.rel != rel) inserer_lignes_en_attente();
    lot.rel = rel;
    lot.listes.append(liste);
    lot.listes.push_back(',');
    if (++lot.lignes >= LOT_TEXTES) inserer_lignes_en_attente();
}
