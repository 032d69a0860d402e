// Large relations settled and compared by partitions of their rows: the
// rows retired and the rows found must be exactly those that the row index
// gives, whatever the partition each row falls into.
#include "aide.h"

#include "operators/operateurs.h"
#include "store/memoire.h"
#include "store/partitions_lignes.h"

#include <algorithm>
#include <array>
#include <set>

class partitions : public avec_interpreteur {};

namespace {

using ligne3 = std::array<id_valeur, 3>;

// Row `i` of a family of rows with many repeats, spread over every
// partition: a few thousand distinct rows per ten thousand.
ligne3 ligne_repetee(int i, int graine) {
    uint32_t x = static_cast<uint32_t>(i) * 2654435761u + static_cast<uint32_t>(graine);
    return {ID_ENTIER | (x >> 20) % 211, ID_ENTIER | (x >> 8) % 61,
            ID_ENTIER | static_cast<uint32_t>(graine)};
}

std::vector<int> flags(const relation& rel) {
    std::vector<int> actifs;
    for (int64_t slot = 1; slot < nb_slots_stockes(rel); slot++) actifs.push_back(rel.actifs[slot]);
    return actifs;
}

constexpr int NB = 300000; // above the partitions' threshold

} // namespace

TEST_F(partitions, le_reglement_retire_exactement_les_repetitions_et_garde_le_premier) {
    // Distinct rows known as such, then rows that wait, repeating them and
    // each other: each waiting row is retired when an earlier live row is
    // equal, the first of equal rows staying live.
    relation& r = *creer_relation("R", "a,b,c");
    std::set<ligne3> vues;
    std::vector<int> attendus;
    for (int i = 0; i < 5000; i++) {
        ligne3 l{ID_ENTIER | static_cast<uint32_t>(i), ID_ENTIER, ID_ENTIER};
        ajouter_ligne_distincte(r, l.data());
        vues.insert(l);
        attendus.push_back(1);
    }
    for (int i = 0; i < NB; i++) {
        // Every seventh row repeats one of the distinct rows above.
        ligne3 l = i % 7 == 0
                       ? ligne3{ID_ENTIER | static_cast<uint32_t>(i % 5000), ID_ENTIER, ID_ENTIER}
                       : ligne_repetee(i, 1);
        ajouter_ligne(r, l.data());
        attendus.push_back(vues.insert(l).second ? 1 : 0);
    }
    relation& lue = *relation_existe("R");
    EXPECT_EQ(flags(lue), attendus);
    EXPECT_EQ(lue.nb_actifs, static_cast<int64_t>(vues.size()));
    // Settled without the index; the next settle builds it and keeps it.
    EXPECT_FALSE(lue.index_valide);
    EXPECT_TRUE(lue.garder_index);
    ligne3 ancienne = ligne_repetee(3, 1), nouvelle{ID_ENTIER | 9999999, ID_ENTIER, ID_ENTIER};
    ajouter_ligne(lue, ancienne.data());
    ajouter_ligne(lue, nouvelle.data());
    relation& relue = *relation_existe("R");
    EXPECT_TRUE(relue.index_valide);
    EXPECT_EQ(relue.actifs[nb_slots_stockes(relue) - 2], 0);
    EXPECT_EQ(relue.actifs[nb_slots_stockes(relue) - 1], 1);
    EXPECT_EQ(relue.nb_actifs, static_cast<int64_t>(vues.size()) + 1);
}

TEST_F(partitions, les_presences_sont_celles_de_l_index) {
    // A holds rows of two families, B one of them and other rows; rows of A
    // retired as repeats answer 0 even when B holds them.
    creer_relation("A", "a,b,c");
    creer_relation("B", "a,b,c");
    for (int i = 0; i < NB; i++)
        ajouter_ligne(*relation_enregistree("A"), ligne_repetee(i, i % 2).data());
    for (int i = 0; i < NB / 2; i++)
        ajouter_ligne(*relation_enregistree("B"), ligne_repetee(i, 1).data());
    for (int i = 0; i < 1000; i++)
        ajouter_ligne(*relation_enregistree("B"), ligne_repetee(i, 2).data());
    relation& a = *relation_existe("A");
    relation& b = *relation_existe("B");
    ASSERT_FALSE(a.index_valide);
    ASSERT_FALSE(b.index_valide);
    std::optional<std::vector<uint8_t>> presents = presences_par_partitions(a, b);
    ASSERT_TRUE(presents.has_value());
    std::vector<uint32_t> trouves = trouver_lignes(a, b); // through B's index
    ASSERT_EQ(presents->size(), trouves.size());
    int64_t nombre = 0;
    for (size_t slot = 0; slot < trouves.size(); slot++) {
        EXPECT_EQ((*presents)[slot], trouves[slot] != 0) << "slot " << slot;
        nombre += (*presents)[slot];
    }
    EXPECT_GT(nombre, 1000); // the test compares something
    EXPECT_LT(nombre, a.nb_actifs);
}

TEST_F(partitions, sans_memoire_rien_n_est_fait_et_l_index_prend_le_relais) {
    creer_relation("R", "a,b,c");
    creer_relation("S", "a,b,c");
    relation& r = *relation_enregistree("R");
    for (int i = 0; i < NB; i++) ajouter_ligne(r, ligne_repetee(i, 1).data());
    std::vector<int> avant = flags(r);
    // A ceiling that refuses any more memory: the partitions are refused,
    // while the index, counted with the slots, is still built.
    fixer_limite_memoire(1);
    EXPECT_FALSE(retirer_repetitions_par_partitions(r, 1));
    EXPECT_EQ(flags(r), avant);
    EXPECT_FALSE(presences_par_partitions(r, *relation_enregistree("S")).has_value());
    relation& lue = *relation_existe("R");
    fixer_limite_memoire(0);
    EXPECT_TRUE(lue.index_valide);
    std::set<ligne3> vues;
    for (int i = 0; i < NB; i++) vues.insert(ligne_repetee(i, 1));
    EXPECT_EQ(lue.nb_actifs, static_cast<int64_t>(vues.size()));
}

TEST_F(partitions, union_et_difference_de_grandes_relations) {
    // Neither operand has its index: the union keeps A's rows, then adds
    // those of B that A lacks, retiring the others; the difference keeps
    // A's rows that B lacks, in slot order.
    creer_relation("A", "a,b,c");
    creer_relation("B", "a,b,c");
    std::set<ligne3> dans_a, dans_b;
    for (int i = 0; i < NB; i++) {
        ajouter_ligne(*relation_enregistree("A"), ligne_repetee(i, i % 3).data());
        dans_a.insert(ligne_repetee(i, i % 3));
    }
    for (int i = 0; i < NB; i++) {
        ajouter_ligne(*relation_enregistree("B"), ligne_repetee(i, 1 + i % 3).data());
        dans_b.insert(ligne_repetee(i, 1 + i % 3));
    }
    union_rel("A", "B", "U");
    difference("A", "B", "D");
    std::vector<ligne3> attendus_d;
    for (const ligne3& l : dans_a)
        if (!dans_b.contains(l)) attendus_d.push_back(l);
    relation& u = *relation_existe("U");
    relation& d = *relation_existe("D");
    EXPECT_EQ(u.nb_actifs, static_cast<int64_t>(dans_a.size() + dans_b.size() -
                                                (dans_a.size() - attendus_d.size())));
    EXPECT_EQ(u.nb_tuples, 1 + static_cast<int64_t>(dans_a.size() + dans_b.size()));
    ASSERT_EQ(d.nb_actifs, static_cast<int64_t>(attendus_d.size()));
    std::set<ligne3> lus;
    for (int64_t slot = 1; slot < nb_slots_stockes(d); slot++) {
        const id_valeur* v = valeurs_slot(d, slot);
        lus.insert({v[0], v[1], v[2]});
    }
    EXPECT_EQ(lus, std::set<ligne3>(attendus_d.begin(), attendus_d.end()));
}

TEST_F(partitions, des_lignes_toutes_pareilles_debordent_leur_partition_sans_rien_perdre) {
    // Three rows repeated a hundred thousand times each: their partitions
    // overflow the room of an even spread, and the rows are counted first.
    relation& r = *creer_relation("R", "a,b,c");
    for (int i = 0; i < NB; i++) {
        ligne3 l{ID_ENTIER | static_cast<uint32_t>(i % 3), ID_ENTIER, ID_ENTIER};
        ajouter_ligne(r, l.data());
    }
    ASSERT_TRUE(retirer_repetitions_par_partitions(r, 1));
    EXPECT_EQ(r.nb_actifs, 3);
    std::vector<int> actifs = flags(r);
    EXPECT_EQ(std::vector<int>(actifs.begin(), actifs.begin() + 4), (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ(std::count(actifs.begin(), actifs.end(), 1), 3);
}
