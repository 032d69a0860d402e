// The relation store: creation and insertion checks in their order, the
// retirement of repeated rows and the counts.
#include "aide.h"

#include <regex>
#include <set>

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
    r = relation_existe("R"); // a reader sees the repeats settled
    EXPECT_EQ(r->nb_tuples, 5);
    EXPECT_EQ(r->nb_actifs, 2);
    EXPECT_EQ(lignes_actives("R"), (std::vector<std::string>{"1,x", "2,y"}));
}

TEST_F(magasin, l_index_rendu_apres_lecture_est_reconstruit_et_garde) {
    // A small relation gives its index back once read; rows added later are
    // still compared with all the earlier ones, and the index rebuilt for
    // them is kept.
    creer_relation("R", "a,b");
    remplir("R", {"1,x", "2,y"});
    relation* r = relation_existe("R");
    EXPECT_FALSE(r->index_valide);
    EXPECT_EQ(chercher_ligne(*r, valeurs_slot(*r, 2)), 2);
    EXPECT_TRUE(r->index_valide);
    EXPECT_TRUE(r->garder_index);
    remplir("R", {"2,y", "3,z", "1,x"});
    r = relation_existe("R");
    EXPECT_TRUE(r->index_valide);
    EXPECT_EQ(r->nb_actifs, 3);
    EXPECT_EQ(lignes_actives("R"), (std::vector<std::string>{"1,x", "2,y", "3,z"}));

    creer_relation("S", "a,b");
    remplir("S", {"4,w", "1,x"});
    remplir("S", {"1,x", "5,v"});
    EXPECT_EQ(relation_existe("S")->nb_actifs, 3);
}

TEST_F(magasin, des_lignes_a_nouveaux_maximums_se_passent_d_index_sans_perdre_les_doublons) {
    // Each row brings a greater id in some attribute: no index is built for
    // them, and the repeats that come later are still found, in any batch.
    creer_relation("C", "n,t");
    remplir("C", {"1,p", "2,p", "2,q"});
    relation* c = relation_existe("C");
    EXPECT_FALSE(c->index_valide);
    EXPECT_FALSE(c->garder_index);
    EXPECT_EQ(c->nb_actifs, 3);
    remplir("C", {"3,p", "2,p", "4,r", "4,r"});
    c = relation_existe("C");
    EXPECT_EQ(c->nb_tuples, 8);
    EXPECT_EQ(c->nb_actifs, 5);
    EXPECT_EQ(lignes_actives("C"), (std::vector<std::string>{"1,p", "2,p", "2,q", "3,p", "4,r"}));
    // The index rebuilt for those repeats is kept: later rows go through it.
    EXPECT_TRUE(c->garder_index);
    remplir("C", {"5,s", "1,p"});
    EXPECT_EQ(relation_existe("C")->nb_actifs, 6);

    // A batch holding one row without a new greatest id is compared whole.
    creer_relation("D0", "n");
    remplir("D0", {"10", "20"});
    remplir("D0", {"9", "10", "21"});
    EXPECT_EQ(lignes_actives("D0"), (std::vector<std::string>{"10", "20", "9", "21"}));
}

namespace {

// A list of `nombre` one-letter items "a,a,...", 2 * nombre - 1 characters,
// widened to `longueur` characters by its first item.
std::string liste_de(size_t nombre, size_t longueur) {
    std::string liste(longueur - 2 * (nombre - 1), 'a');
    for (size_t i = 1; i < nombre; i++) liste += ",a";
    return liste;
}

const std::string NOM_20 = "ABCDEFGHIJKLMNOPQRST";
const std::string TEXTE_19 = "abcdefghijklmnopqrs";

} // namespace

TEST_F(magasin, creation_controles_dans_leur_ordre) {
    auto avec_r = [](const std::function<void()>& suite) {
        return code_sur_magasin_neuf([&] {
            creer_relation("R", "a");
            suite();
        });
    };
    // Name length, then list length, then the name taken, then the count.
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation(NOM_20, "a"); }), 0);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation(NOM_20 + "U", ""); }), 209);
    EXPECT_EQ(avec_r([] { creer_relation("R", liste_de(2, 181)); }), 209);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", liste_de(90, 180)); }), 202);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", liste_de(90, 181)); }), 209);
    EXPECT_EQ(avec_r([] { creer_relation("R", ""); }), 200);
    EXPECT_EQ(avec_r([] { creer_relation("R", "a,b,c,d,e,f,g,h,i"); }), 200);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", ""); }), 205);
    // Count, then repeated names, then the length of each name.
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", "a,b,c,d,e,f,g,h"); }), 0);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", "a,b,c,d,e,f,g,h,i"); }), 202);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", "A,A,A,A,A,A,A,A,A"); }), 202);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", "A,B,A"); }), 208);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", "A,A," + TEXTE_19 + "t"); }), 208);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", "A," + TEXTE_19); }), 0);
    EXPECT_EQ(code_sur_magasin_neuf([] { creer_relation("S", "A," + TEXTE_19 + "t"); }), 209);
    EXPECT_EQ(code_sur_magasin_neuf([] {
                  flag_prod_cart = 1;
                  creer_relation("S", "a,b,c,d,e,f,g,h,a");
              }),
              202);
}

TEST_F(magasin, le_mode_produit_accepte_un_attribut_repete) {
    flag_prod_cart = 1;
    relation* r = creer_relation("P", "A,B,A");
    flag_prod_cart = 0;
    EXPECT_EQ(r->nb_champs, 3);
    EXPECT_EQ(entete_de("P"), "A,B,A");
    ajouter_tuple("P", "1,2,3");
    EXPECT_EQ(lignes_actives("P"), (std::vector<std::string>{"1,2,3"}));
    EXPECT_EQ(code_erreur([] { creer_relation("Q", "A,B,A"); }), 208);
}

TEST_F(magasin, insertion_controles_dans_leur_ordre) {
    auto avec_r = [](const std::string& attributs, const std::function<void()>& suite) {
        return code_sur_magasin_neuf([&] {
            creer_relation("R", attributs);
            suite();
        });
    };
    // List length, then the relation, then the count, then each value.
    EXPECT_EQ(code_sur_magasin_neuf([] { ajouter_tuple("X", liste_de(2, 181)); }), 209);
    EXPECT_EQ(code_sur_magasin_neuf([] { ajouter_tuple("X", liste_de(2, 180)); }), 203);
    EXPECT_EQ(code_sur_magasin_neuf([] { ajouter_tuple("X", ""); }), 203);
    EXPECT_EQ(avec_r("a", [] { ajouter_tuple("R", liste_de(90, 180)); }), 201);
    EXPECT_EQ(avec_r("a", [] { ajouter_tuple("R", liste_de(90, 181)); }), 209);
    EXPECT_EQ(avec_r("a", [] { ajouter_tuple("R", ""); }), 205);
    EXPECT_EQ(avec_r("a,b,c", [] { ajouter_tuple("R", "1,2"); }), 201);
    EXPECT_EQ(avec_r("a", [] { ajouter_tuple("R", "x," + TEXTE_19 + "t"); }), 201);
    EXPECT_EQ(avec_r("a,b", [] { ajouter_tuple("R", "x," + TEXTE_19 + "t"); }), 209);
    EXPECT_EQ(avec_r("a,b", [] { ajouter_tuple("R", "x," + TEXTE_19); }), 0);
    EXPECT_EQ(lignes_actives("R"), (std::vector<std::string>{"x," + TEXTE_19}));
}

TEST_F(magasin, lignes_sur_plusieurs_lots_avec_ou_sans_les_fins_d_items) {
    // Rows wait in batches of 4096; their values are views into the batch,
    // which must stay where they are while it fills, whoever found the items.
    creer_relation("R", "a,b,c");
    std::vector<std::string> attendues;
    for (int i = 0; i < 10000; i++) {
        std::string ligne = "v" + std::to_string(i) + "," + std::to_string(i % 13) + ",w";
        attendues.push_back(ligne);
        fins_items items;
        decouper_items(ligne, items);
        ajouter_tuple("R", ligne, i % 2 ? &items : nullptr);
    }
    EXPECT_EQ(lignes_actives("R"), attendues);
    // The items given are checked as the list's own would be.
    fins_items items;
    std::string trop_long = "x," + TEXTE_19 + "t,y";
    decouper_items(trop_long, items);
    EXPECT_EQ(code_erreur([&] { ajouter_tuple("R", trop_long, &items); }), 209);
}

TEST_F(magasin, valeurs_comparees_exactement) {
    creer_relation("R", "a,b");
    remplir("R", {"1,x", "1,X", "ab,c", "a,bc", "01,x", "1,x", "a,bc"});
    relation* r = relation_existe("R");
    EXPECT_EQ(r->nb_tuples, 8);
    EXPECT_EQ(r->nb_actifs, 5);
    EXPECT_EQ(lignes_actives("R"),
              (std::vector<std::string>{"1,x", "1,X", "ab,c", "a,bc", "01,x"}));
    EXPECT_EQ(comparer_champ_champ(*r, 1, 6), 1);
    EXPECT_EQ(comparer_champ_champ(*r, 1, 2), 0);
    EXPECT_EQ(comparer_champ_champ(*r, 3, 4), 0);
    // A repeat of a row that is itself a retired repeat is retired again.
    ajouter_tuple("R", "1,x");
    r = relation_existe("R");
    EXPECT_EQ(r->nb_tuples, 9);
    EXPECT_EQ(r->nb_actifs, 5);
}

TEST_F(magasin, une_reference_reste_valable_apres_bien_des_creations) {
    relation* r = creer_relation("R", "a,b");
    ajouter_tuple("R", "0,0");
    for (int i = 0; i < 500; i++) {
        std::string nom = "T" + std::to_string(i);
        creer_relation(nom, "x");
        ajouter_tuple(nom, std::to_string(i));
        ajouter_tuple("R", std::to_string(i) + "," + std::to_string(i % 7));
    }
    EXPECT_EQ(relation_existe("R"), r);
    EXPECT_EQ(r->nom, "R");
    EXPECT_EQ(r->nb_tuples, 502);
    EXPECT_EQ(r->nb_actifs, 500); // "0,0" came twice
    EXPECT_EQ(lignes_actives("R")[499], "499,2");
    EXPECT_EQ(dico->nb_relations, 501);
}

TEST_F(magasin, recherche_par_nom_exact) {
    EXPECT_EQ(relation_existe("R"), nullptr);
    creer_relation("r", "a");
    EXPECT_EQ(relation_existe("R"), nullptr);
    relation* grand = creer_relation("R", "a");
    EXPECT_NE(grand, relation_existe("r"));
    creer_relation("EMPLOYE", "a");
    EXPECT_EQ(relation_existe("EMP"), nullptr);
    EXPECT_EQ(relation_existe("EMPLOYES"), nullptr);
    EXPECT_EQ(relation_existe(""), nullptr);
    creer_relation(NOM_20, "a");
    ASSERT_NE(relation_existe(NOM_20), nullptr);
    EXPECT_EQ(relation_existe(NOM_20)->nom, NOM_20);
    EXPECT_EQ(relation_existe(NOM_20.substr(0, 19)), nullptr);

    ASSERT_EQ(dico->nb_relations, 4);
    std::vector<std::string> noms;
    for (const entree_dico& entree : dico->entrees) {
        noms.push_back(entree.nom);
        EXPECT_EQ(entree.nom, entree.adresse->nom);
    }
    EXPECT_EQ(noms, (std::vector<std::string>{"r", "R", "EMPLOYE", NOM_20}));
}

TEST_F(magasin, compter_et_comparer_les_champs) {
    EXPECT_EQ(compter_champs("a"), 1);
    EXPECT_EQ(compter_champs("a,b,c"), 3);
    EXPECT_EQ(compter_champs(",,"), 3);
    EXPECT_EQ(comparer_noms_champs("A,B,A"), 1);
    EXPECT_EQ(comparer_noms_champs("A,B,C,D,E,F,G,G"), 1);
    EXPECT_EQ(comparer_noms_champs("A,B"), 0);
    EXPECT_EQ(comparer_noms_champs("a,A"), 0);
    EXPECT_EQ(comparer_noms_champs("ab,a,b"), 0);
    EXPECT_EQ(comparer_noms_champs("x"), 0);
    EXPECT_EQ(code_erreur([] { compter_champs(""); }), 205);
}

TEST_F(magasin, format_du_listage) {
    creer_relation("EMP", "NOM,AGE");
    remplir("EMP", {"dupont,30", "martin,41", "dupont,30"});
    creer_relation("VILLES", "VILLE");
    remplir("VILLES", {"lille", "paris"});
    creer_relation("VIDE", "a,b");
    creer_relation("UN", "a");
    remplir("UN", {"x", "x", "x"});
    afficher_relation("EMP");
    afficher_relation("VILLES");
    afficher_relation("VIDE");
    afficher_relation("UN");
    ajouter_tuple("UN", "y");
    afficher_relation("UN");
    EXPECT_EQ(lire_sortie(), "\n\n@relation EMP:NOM,AGE\n@data EMP:dupont,30\n@data EMP:martin,41"
                             "\n\n@relation VILLES:VILLE\n@data VILLES:lille\n@data VILLES:paris"
                             "\n\n@relation VIDE:a,b"
                             "\n\n@relation UN:a\n@data UN:x"
                             "\n\n@relation UN:a\n@data UN:x\n@data UN:y");
}

TEST_F(magasin, un_grand_listage_arrive_entier) {
    creer_relation("GRANDE", "numero,texte");
    std::string attendu = "\n\n@relation GRANDE:numero,texte";
    for (int i = 0; i < 60000; i++) {
        std::string ligne = std::to_string(i) + ",valeur" + std::to_string(i % 1000);
        ajouter_tuple("GRANDE", ligne);
        attendu += "\n@data GRANDE:" + ligne;
    }
    afficher_relation("GRANDE");
    afficher_relation("GRANDE");
    EXPECT_TRUE(lire_sortie() == attendu + attendu);
}

TEST_F(magasin, lister_une_relation_inconnue_garde_les_listages_precedents) {
    creer_relation("R", "a");
    ajouter_tuple("R", "1");
    afficher_relation("R");
    EXPECT_EQ(code_erreur([] { afficher_relation("r"); }), 203);
    EXPECT_EQ(lire_sortie(), "\n\n@relation R:a\n@data R:1");
}

namespace {

// The summary printed by afficher_dico, each ADRESSE field replaced by "@"
// after checking that it is 10 columns: at least one blank, then at most 9
// digits, a number that no other relation of the summary has.
std::string resume_masque() {
    testing::internal::CaptureStdout();
    afficher_dico();
    std::string resume = testing::internal::GetCapturedStdout();
    static const std::regex entree("\n(.{20})( +[0-9]{1,9})(.{18})(?=\n)");
    std::string masque;
    std::set<std::string> adresses;
    auto reste = resume.cbegin();
    for (std::sregex_iterator it(resume.begin(), resume.end(), entree), fin; it != fin; ++it) {
        EXPECT_EQ((*it)[2].length(), 10) << resume;
        EXPECT_TRUE(adresses.insert((*it)[2].str()).second) << resume;
        masque.append(reste, (*it)[0].first);
        masque += "\n" + (*it)[1].str() + "@" + (*it)[3].str();
        reste = (*it)[0].second;
    }
    masque.append(reste, resume.cend());
    return masque;
}

const std::string ENTETE_RESUME = "\n\t NOM\t\t\t  -  ADRESSE - COL - TUPL - T_ACT";

} // namespace

TEST_F(magasin, format_du_resume) {
    EXPECT_EQ(resume_masque(), "\nDictionnaire : 0 relation(s)" + ENTETE_RESUME + "\n");
    creer_relation("EMP", "NOM,AGE");
    remplir("EMP", {"dupont,30", "martin,41", "dupont,30"});
    creer_relation("VILLES", "VILLE");
    remplir("VILLES", {"lille", "paris"});
    creer_relation(NOM_20, "a,b,c,d,e,f,g,h");
    EXPECT_EQ(resume_masque(), "\nDictionnaire : 3 relation(s)" + ENTETE_RESUME +
                                   "\n                 EMP@     2     4     2"
                                   "\n              VILLES@     1     3     2"
                                   "\n" +
                                   NOM_20 + "@     8     1     0\n");
}

// Records whose addresses agree modulo 10^9 alignment units get the next
// free numbers, wrapping round after 999,999,999.
TEST_F(magasin, identifiants_du_resume_distincts_malgre_les_collisions) {
    dictionnaire d;
    constexpr uintptr_t PAS = alignof(relation);
    constexpr uintptr_t TOUR = 1'000'000'000 * PAS;
    EXPECT_EQ(attribuer_identifiant(d, 42 * PAS), 42);
    EXPECT_EQ(attribuer_identifiant(d, TOUR + 42 * PAS), 43);
    EXPECT_EQ(attribuer_identifiant(d, 2 * TOUR + 42 * PAS), 44);
    EXPECT_EQ(attribuer_identifiant(d, 43 * PAS), 45);
    EXPECT_EQ(attribuer_identifiant(d, TOUR - PAS), 999'999'999);
    EXPECT_EQ(attribuer_identifiant(d, 2 * TOUR - PAS), 0);
}
