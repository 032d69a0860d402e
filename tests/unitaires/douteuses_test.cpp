// Waiting rows settled through the doubtful ones, those that hold no new
// greatest id: the rows retired must be exactly the repeats, as the
// partitions find them, whatever earlier row a doubtful one repeats.
#include "aide.h"

#include "store/lignes_douteuses.h"
#include "store/memoire.h"
#include "store/partitions_lignes.h"

#include <array>
#include <set>

class douteuses : public avec_interpreteur {};

namespace {

using ligne3 = std::array<id_valeur, 3>;

ligne3 ligne(uint32_t a, uint32_t b, uint32_t c) {
    return {ID_ENTIER | a, ID_ENTIER | b, ID_ENTIER | c};
}

// Row `i` of the waiting run: mostly a new greatest id in the first
// attribute; every twentieth row doubtful, repeating a row known distinct
// before the run, an earlier row of the run, or another doubtful row (a few
// hundred of them, repeating each other), in turn.
ligne3 ligne_en_attente(int i) {
    uint32_t n = static_cast<uint32_t>(i);
    if (i % 20 != 0) return ligne(1000000 + n, n % 50, 7);
    switch (i / 20 % 3) {
    case 0: return ligne(n % 5000, 0, 0);
    case 1: return ligne(1000000 + n / 2 + 1, (n / 2 + 1) % 50, 7);
    default: return ligne(n % 1000, n % 7, 3);
    }
}

std::vector<int> flags(const relation& rel) {
    std::vector<int> actifs;
    for (int64_t slot = 1; slot < nb_slots_stockes(rel); slot++) actifs.push_back(rel.actifs[slot]);
    return actifs;
}

// Fills `nom` with 5000 rows known distinct, then `nombre` waiting rows;
// answers the flags that the rows should end with.
std::vector<int> remplir_relation(const char* nom, int nombre) {
    relation& r = *creer_relation(nom, "a,b,c");
    std::set<ligne3> vues;
    std::vector<int> attendus;
    for (uint32_t j = 0; j < 5000; j++) {
        ajouter_ligne_distincte(r, ligne(j, 0, 0).data());
        vues.insert(ligne(j, 0, 0));
        attendus.push_back(1);
    }
    for (int i = 1; i <= nombre; i++) {
        ajouter_ligne(r, ligne_en_attente(i).data());
        attendus.push_back(vues.insert(ligne_en_attente(i)).second ? 1 : 0);
    }
    return attendus;
}

constexpr int NB = 300000; // above the partitions' threshold

} // namespace

TEST_F(douteuses, le_reglement_retire_les_memes_lignes_que_les_partitions) {
    std::vector<int> attendus = remplir_relation("R", NB);
    remplir_relation("S", NB);
    relation& r = *relation_enregistree("R");
    relation& s = *relation_enregistree("S");
    ASSERT_TRUE(retirer_repetitions_douteuses(r, 5001));
    ASSERT_TRUE(retirer_repetitions_par_partitions(s, 5001));
    EXPECT_EQ(flags(r), attendus);
    EXPECT_EQ(flags(s), attendus);
    EXPECT_EQ(r.nb_actifs, s.nb_actifs);
    int64_t retirees = static_cast<int64_t>(std::count(attendus.begin(), attendus.end(), 0));
    EXPECT_GT(retirees, NB / 40); // every kind of repeat occurs
    EXPECT_EQ(r.nb_actifs, 5000 + NB - retirees);
}

TEST_F(douteuses, une_relation_lue_est_reglee_par_ses_douteuses_puis_par_son_index) {
    std::vector<int> attendus = remplir_relation("R", NB);
    relation& lue = *relation_existe("R");
    EXPECT_EQ(flags(lue), attendus);
    EXPECT_FALSE(lue.index_valide);
    EXPECT_TRUE(lue.garder_index);
    // Rows added after the read: the index is built and kept.
    ajouter_ligne(lue, ligne_en_attente(20).data());
    ajouter_ligne(lue, ligne(1, 2, 3).data());
    relation& relue = *relation_existe("R");
    EXPECT_TRUE(relue.index_valide);
    EXPECT_EQ(relue.actifs[nb_slots_stockes(relue) - 2], 0);
    EXPECT_EQ(relue.actifs[nb_slots_stockes(relue) - 1], 1);
}

TEST_F(douteuses, trop_de_douteuses_ou_pas_de_memoire_rien_n_est_fait) {
    // Rows without a new greatest id after the first few: too many are
    // doubtful, and the partitions settle the relation instead.
    relation& r = *creer_relation("R", "a,b,c");
    for (int i = 0; i < NB; i++)
        ajouter_ligne(
            r, ligne(static_cast<uint32_t>(i % 1000), static_cast<uint32_t>(i % 7), 1).data());
    std::vector<int> avant = flags(r);
    EXPECT_FALSE(retirer_repetitions_douteuses(r, 1));
    EXPECT_EQ(flags(r), avant);
    EXPECT_EQ(relation_existe("R")->nb_actifs, 7000);

    remplir_relation("S", NB);
    relation& s = *relation_enregistree("S");
    avant = flags(s);
    fixer_limite_memoire(1);
    EXPECT_FALSE(retirer_repetitions_douteuses(s, 5001));
    fixer_limite_memoire(0);
    EXPECT_EQ(flags(s), avant);
}
