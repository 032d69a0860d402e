// Creation of relations: the checks of a new relation's name and attribute
// list, in their order, then its registration with its header slot.
#include "driver/erreurs.h"
#include "store/relation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

int32_t flag_prod_cart = 0;

relation::relation() = default;

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
    ajouter_ligne_retiree(*nouvelle, entete); // the header slot
    return ajouter_ds_dico(std::move(nouvelle));
}
