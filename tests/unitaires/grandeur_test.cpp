// Relations large enough that their slot arrays, row index and interned texts
// leave the ordinary heap for blocks mapped on their own: nothing of their
// rows may be lost or altered on the way.
#include "aide.h"

#include "store/grands_blocs.h"

#include <cstring>
#include <string>

class grandeur : public avec_interpreteur {};

namespace {

constexpr int NB_LIGNES = 600000;

std::string ligne(int i) { return "t" + std::to_string(i) + "," + std::to_string(i % 7); }

} // namespace

TEST_F(grandeur, les_lignes_survivent_a_la_croissance_et_les_repetitions_sont_retirees) {
    creer_relation("R", "a,b");
    for (int i = 0; i < NB_LIGNES; i++) ajouter_tuple("R", ligne(i));
    // Every tenth row again: retired, as it repeats a live one.
    for (int i = 0; i < NB_LIGNES; i += 10) ajouter_tuple("R", ligne(i));
    relation* r = relation_existe("R");
    EXPECT_EQ(r->nb_tuples, 1 + NB_LIGNES + NB_LIGNES / 10);
    EXPECT_EQ(r->nb_actifs, NB_LIGNES);
    std::vector<std::string> lignes = lignes_actives("R");
    ASSERT_EQ(lignes.size(), static_cast<size_t>(NB_LIGNES));
    for (int i = 0; i < NB_LIGNES; i += 9973) EXPECT_EQ(lignes[static_cast<size_t>(i)], ligne(i));
    EXPECT_EQ(lignes.back(), ligne(NB_LIGNES - 1));
    // The interned texts, held in a large block, still answer lookups.
    EXPECT_NE(chercher_valeur("t599999"), ID_ABSENT);
    EXPECT_EQ(chercher_valeur("t600000"), ID_ABSENT);
}

TEST(grands_blocs, un_bloc_petit_ou_grand_se_remplit_tout_entier) {
    for (size_t octets : {size_t{64}, size_t{16} << 20}) {
        auto* bloc = static_cast<unsigned char*>(allouer_bloc(octets));
        std::memset(bloc, 0xA5, octets);
        EXPECT_EQ(bloc[0], 0xA5);
        EXPECT_EQ(bloc[octets - 1], 0xA5);
        liberer_bloc(bloc, octets);
    }
}
