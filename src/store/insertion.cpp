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
    // Items are a few bytes long: a plain loop beats a call to memchr each.
    while (item < fin) {
        const char* virgule = item;
        while (*virgule != ',') virgule++;
        lot.items.emplace_back(item, static_cast<size_t>(virgule - item));
        item = virgule + 1;
    }
    lot.ids.resize(lot.items.size());
    interner_valeurs(lot.items.data(), static_cast<int32_t>(lot.items.size()), lot.ids.data());
    relation& rel = *lot.rel;
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
    if (journal.actif) noter_donnee(*rel);
    if (lot.rel != rel) inserer_lignes_en_attente();
    lot.rel = rel;
    lot.listes.append(liste);
    lot.listes.push_back(',');
    if (++lot.lignes >= LOT_TEXTES) inserer_lignes_en_attente();
}
