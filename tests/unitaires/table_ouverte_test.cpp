// The open hash table under the interned texts and the row indexes: entries
// stay findable across growths, including those whose probes wrapped past
// the end of the table, and clusters of equal hashes.
#include "store/table_ouverte.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct entree_essai {
    uint32_t empreinte;
    uint32_t valeur; // 0: empty
    bool vide() const { return valeur == 0; }
};

using table_essai = table_ouverte<entree_essai>;

// Adds `valeur` under `empreinte` unless there; answers whether it was added.
bool ajouter(table_essai& table, uint32_t empreinte, uint32_t valeur) {
    if (table.capacite == 0) reserver_table(table, 1);
    entree_essai* place =
        chercher_case(table, empreinte, [&](const entree_essai& e) { return e.valeur == valeur; });
    if (!place->vide()) return false;
    ajouter_dans(table, place, entree_essai{empreinte, valeur});
    return true;
}

bool contient(const table_essai& table, uint32_t empreinte, uint32_t valeur) {
    return trouver_entree(table, empreinte, [&](const entree_essai& e) {
               return e.valeur == valeur;
           }) != nullptr;
}

// The hashes whose home is the last entry of a 16-entry table.
std::vector<uint32_t> empreintes_en_fin(size_t nombre) {
    std::vector<uint32_t> trouvees;
    for (uint32_t e = 1; trouvees.size() < nombre; e++)
        if (place_empreinte(e, 60) == 15) trouvees.push_back(e);
    return trouvees;
}

} // namespace

TEST(table_ouverte, vide_ne_trouve_rien) {
    table_essai table;
    EXPECT_FALSE(contient(table, 7, 1));
    reserver_table(table, 0);
    EXPECT_EQ(table.capacite, 16u);
    EXPECT_FALSE(contient(table, 7, 1));
}

TEST(table_ouverte, chaque_entree_retrouvee_a_travers_les_croissances) {
    // Enough entries for the block to pass from the heap to its own mapping,
    // then to be remapped.
    constexpr uint32_t NOMBRE = 1500000;
    table_essai table;
    for (uint32_t v = 1; v <= NOMBRE; v++) ASSERT_TRUE(ajouter(table, v * 2654435761u, v));
    EXPECT_EQ(table.nombre, NOMBRE);
    EXPECT_GE(table.capacite * sizeof(entree_essai), 2 * SEUIL_BLOC);
    EXPECT_LE(table.nombre * 10, table.capacite * 7);
    for (uint32_t v = 1; v <= NOMBRE; v++) {
        ASSERT_TRUE(contient(table, v * 2654435761u, v)) << v;
        ASSERT_FALSE(ajouter(table, v * 2654435761u, v)) << v;
    }
    EXPECT_FALSE(contient(table, 1 * 2654435761u, 2));
}

TEST(table_ouverte, sondes_qui_passent_la_fin_et_empreintes_egales) {
    // Five entries at home in the last place: four wrap to the start. They
    // must survive the growths, and so must many entries of one hash.
    table_essai table;
    std::vector<uint32_t> fin = empreintes_en_fin(5);
    for (uint32_t i = 0; i < 5; i++) ASSERT_TRUE(ajouter(table, fin[i], i + 1));
    for (uint32_t i = 0; i < 5; i++) EXPECT_TRUE(contient(table, fin[i], i + 1));
    for (uint32_t v = 100; v < 400; v++) ASSERT_TRUE(ajouter(table, 42, v));
    for (uint32_t i = 0; i < 5; i++) EXPECT_TRUE(contient(table, fin[i], i + 1));
    for (uint32_t v = 100; v < 400; v++) EXPECT_TRUE(contient(table, 42, v));
    EXPECT_FALSE(contient(table, 42, 400));
}

TEST(table_ouverte, reserver_evite_la_croissance_et_vider_libere) {
    table_essai table;
    reserver_table(table, 1000);
    size_t capacite = table.capacite;
    for (uint32_t v = 1; v <= 1000; v++) ajouter(table, v, v);
    EXPECT_EQ(table.capacite, capacite);
    vider_table(table);
    EXPECT_EQ(table.capacite, 0u);
    EXPECT_EQ(table.nombre, 0u);
    EXPECT_FALSE(contient(table, 5, 5));
}
