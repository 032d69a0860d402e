// Insertion of rows given as list texts (the data statement): every check
// of a row is made when it arrives, in its order; the row itself waits in a
// batch, so that the values of many rows are interned together.
#include "driver/erreurs.h"
#include "driver/journal.h"
#include "store/relation.h"

#include <cstring>
#include <string>
#include <vector>

// Rows given as list texts wait here, all of one relation and LOT_TEXTES at
// most: their values are interned together, the lookups of many values
// overlapping in memory.
struct lot_textes {
    relation* rel = nullptr;
    // The lists side by side, reserved once for a full batch and its margin so
    // that the items, views into it, stay valid while it fills.
    std::string listes;
    int64_t lignes = 0;
    std::vector<std::string_view> items; // the values of the rows, in order
    std::vector<id_valeur> ids;
};
static lot_textes lot;
static constexpr int64_t LOT_TEXTES = 4096;

void inserer_lignes_en_attente() {
    if (lot.lignes == 0) return;
    lot.listes.append(MARGE_LECTURE, '\0'); // room for interner_valeurs to read
    lot.ids.resize(lot.items.size());
    relation& rel = *lot.rel;
    interner_valeurs(lot.items.data(), static_cast<int32_t>(lot.items.size()), lot.ids.data(),
                     rel.nb_champs);
    // Rows that each hold a new greatest id in some attribute (a counter, a
    // text seen for the first time) are distinct without a lookup: the row
    // index is then left unbuilt until a read needs it. Once it has been
    // rebuilt, or while rows wait to be compared, every row goes through it.
    size_t champs = static_cast<size_t>(rel.nb_champs);
    bool nouvelles = !rel.garder_index && rel.en_attente == 0 &&
                     lignes_toutes_nouvelles(rel, lot.ids.data(), lot.lignes);
    for (size_t debut = 0; debut < lot.ids.size(); debut += champs) {
        if (nouvelles)
            ajouter_ligne_distincte(rel, lot.ids.data() + debut);
        else
            ajouter_ligne(rel, lot.ids.data() + debut);
    }
    oublier_lignes_en_attente();
}

void oublier_lignes_en_attente() {
    lot.rel = nullptr;
    lot.listes.clear();
    lot.items.clear();
    lot.lignes = 0;
}

// The code refusing an item of a list, the first empty one (205) or too
// long for a value (209), or 0.
static int verifier_item(size_t longueur) {
    return longueur == 0 ? 205 : longueur > MAX_VALEUR ? 209 : 0;
}

// The lists of a full batch, with room for interner_valeurs to read.
static constexpr size_t TAILLE_LISTES = LOT_TEXTES * MAX_LISTE + MARGE_LECTURE;

void ajouter_tuple(std::string_view nom, std::string_view liste, const fins_items* items) {
    if (liste.size() > MAX_LISTE) erreur(209);
    // Data lines come in runs for one relation: its name is compared first.
    relation* rel = lot.rel && lot.rel->nom == nom ? lot.rel : relation_enregistree(nom);
    if (!rel) erreur(203);
    if (liste.empty()) erreur(205);
    fins_items decoupees;
    if (!items) {
        decouper_items(liste, decoupees);
        items = &decoupees;
    }
    if (items->nombre != rel->nb_champs) erreur(201);
    size_t debut = 0;
    for (int32_t k = 0; k < items->nombre; debut = items->fins[k++] + 1u)
        if (int code = verifier_item(items->fins[k] - debut)) erreur(code);
    if (journal.actif) noter_donnee(*rel);
    if (lot.rel != rel) inserer_lignes_en_attente();
    lot.rel = rel;
    // Reserved at a batch's first row, so that no item is left pointing
    // into a buffer that moved.
    if (lot.lignes == 0 && lot.listes.capacity() < TAILLE_LISTES) lot.listes.reserve(TAILLE_LISTES);
    const char* copie = lot.listes.data() + lot.listes.size();
    lot.listes.append(liste);
    debut = 0;
    for (int32_t k = 0; k < items->nombre; debut = items->fins[k++] + 1u)
        lot.items.emplace_back(copie + debut, items->fins[k] - debut);
    if (++lot.lignes >= LOT_TEXTES) inserer_lignes_en_attente();
}
