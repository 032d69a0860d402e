// The relation store: creation and insertion checks in their order, the
// retirement of repeated rows and the counts.
#include "aide.h"

class magasin : public avec_interpreteur {};

TEST_F(magasin, une_relation_nait_avec_son_entete_seul) {
    relation* r = creer_relation("R", "NOM,AGE,VILLE");
    EXPECT_EQ(r->nb_champs, 3);
    EXPECT_EQ(r->nb_tuples, 1);
    EXPECT_EQ(r->nb_actifs, 0);
    EXPECT_EQ(relation_existe("R"), r);
    EXPECT_EQ(lignes_actives("R").size(), 0u);
}

TEST_F(magasin, les_repetitions_gardent_leur_slot_mais_sont_retirees) {
    creer_relation("R", "a,b");
    remplir("R", {"1,x", "2,y", "1,x"});
    relation* r = relation_existe("R");
    EXPECT_EQ(r->nb_tuples, 4);
    EXPECT_EQ(r->nb_actifs, 2);
    EXPECT_EQ(r->actifs[3], 0);
    ajouter_tuple("R", "2,y");
    EXPECT_EQ(r->nb_tuples, 5);
    EXPECT_EQ(r->nb_actifs, 2);
    EXPECT_EQ(lignes_actives("R"), (std::vector<std::string>{"1,x", "2,y"}));
}
