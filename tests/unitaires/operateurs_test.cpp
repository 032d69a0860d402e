// The relational operators: their results (attributes, rows in slot order,
// retired rows and counts) and, for each one, which error wins when several
// of its checks fail.
#include "aide.h"

#include "operators/operateurs.h"

#include <utility>

namespace {

using lignes = std::vector<std::string>;

class operateurs : public avec_interpreteur {};

// EMP(personne, ville, age) with three live rows.
void creer_emp() {
    creer_relation("EMP", "personne,ville,age");
    remplir("EMP", {"alice,lyon,30", "bob,paris,25", "carl,lyon,30"});
}

// A(x, y) and B(x, y) sharing the row 3,4.
void creer_a_b() {
    creer_relation("A", "x,y");
    remplir("A", {"1,2", "3,4"});
    creer_relation("B", "x,y");
    remplir("B", {"3,4", "5,6"});
}

// nb_tuples and nb_actifs of relation `nom`.
std::pair<int64_t, int64_t> comptes(const std::string& nom) {
    const relation* rel = relation_existe(nom);
    if (!rel) return {-1, -1};
    return {rel->nb_tuples, rel->nb_actifs};
}

int code_avec(void (*preparer)(), const std::function<void()>& appel) {
    return code_sur_magasin_neuf([&] {
        preparer();
        appel();
    });
}

const std::string NOM_20 = "ABCDEFGHIJKLMNOPQRST";
const std::string NOM_21 = NOM_20 + "U";
const std::string TEXTE_19 = "abcdefghijklmnopqrs";

} // namespace

TEST_F(operateurs, outils_position_et_texte_d_un_slot) {
    creer_emp();
    ajouter_tuple("EMP", "bob,paris,25");
    EXPECT_EQ(verifier_champ_relation(*relation_existe("EMP"), "personne"), 0);
    EXPECT_EQ(verifier_champ_relation(*relation_existe("EMP"), "age"), 2);
    EXPECT_EQ(verifier_champ_relation(*relation_existe("EMP"), "Age"), -1);
    EXPECT_EQ(verifier_champ_relation(*relation_existe("EMP"), "alice"), -1);
    EXPECT_EQ(transformer_tuple_liste("EMP", 0), "personne,ville,age");
    EXPECT_EQ(transformer_tuple_liste("EMP", 2), "bob,paris,25");
    EXPECT_EQ(transformer_tuple_liste("EMP", 4), std::nullopt);
    EXPECT_EQ(code_erreur([] { transformer_tuple_liste("EMP", 5); }), 207);
    EXPECT_EQ(code_avec(creer_emp, [] { transformer_tuple_liste("X", 0); }), 203);
}

TEST_F(operateurs, projection_exemple) {
    creer_emp();
    projection("EMP", "P", "ville,age");
    EXPECT_EQ(entete_de("P"), "ville,age");
    EXPECT_EQ(lignes_actives("P"), (lignes{"lyon,30", "paris,25"}));
    EXPECT_EQ(comptes("P"), std::make_pair(int64_t{4}, int64_t{2}));
    EXPECT_EQ(relation_existe("P")->actifs[3], 0);

    projection("EMP", "Q", "age,personne");
    EXPECT_EQ(entete_de("Q"), "age,personne");
    EXPECT_EQ(lignes_actives("Q"), (lignes{"30,alice", "25,bob", "30,carl"}));

    creer_relation("VIDE", "a,b");
    projection("VIDE", "V", "b");
    EXPECT_EQ(comptes("V"), std::make_pair(int64_t{1}, int64_t{0}));

    // A retired source row is not projected at all, not even as a retired slot.
    creer_relation("D", "a,b");
    remplir("D", {"1,x", "1,x", "2,y"});
    projection("D", "PD", "a");
    EXPECT_EQ(comptes("PD"), std::make_pair(int64_t{3}, int64_t{2}));
}

TEST_F(operateurs, projection_ordre_des_erreurs) {
    EXPECT_EQ(code_avec(creer_emp, [] { projection("X", "EMP", "age"); }), 203);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", "EMP", "salaire"); }), 200);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", "EMP", ""); }), 200);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", "P", ""); }), 205);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", NOM_21, "personne,salaire"); }), 204);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", "P", TEXTE_19 + "t"); }), 204);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", "P", "age,age"); }), 208);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", NOM_21, "age"); }), 209);
    EXPECT_EQ(code_avec(creer_emp, [] { projection("EMP", NOM_20, "age"); }), 0);
    // The result's creation judges the list: its length first, then its count.
    std::string neuf = "age";
    for (int i = 0; i < 8; i++) neuf += ",age";
    EXPECT_EQ(code_avec(creer_emp, [&] { projection("EMP", "P", neuf); }), 202);
    std::string long_ = "personne";
    for (int i = 0; i < 20; i++) long_ += ",personne";
    EXPECT_EQ(code_avec(creer_emp, [&] { projection("EMP", "P", long_); }), 209);
}

TEST_F(operateurs, selection_exemples) {
    creer_emp();
    selection("EMP", "S", "ville", '=', "lyon");
    EXPECT_EQ(entete_de("S"), "personne,ville,age");
    EXPECT_EQ(lignes_actives("S"), (lignes{"alice,lyon,30", "carl,lyon,30"}));
    EXPECT_EQ(comptes("S"), std::make_pair(int64_t{3}, int64_t{2}));
    // Texts are compared exactly: no number reading, no case folding.
    selection("EMP", "S2", "age", '=', "030");
    EXPECT_EQ(comptes("S2"), std::make_pair(int64_t{1}, int64_t{0}));
    selection("EMP", "S3", "ville", '=', "Lyon");
    EXPECT_EQ(comptes("S3"), std::make_pair(int64_t{1}, int64_t{0}));
    // The header slot is never a row.
    selection("EMP", "S4", "ville", '=', "ville");
    EXPECT_EQ(comptes("S4"), std::make_pair(int64_t{1}, int64_t{0}));

    // A constant longer than any stored value matches nothing.
    creer_relation("L", "v");
    remplir("L", {TEXTE_19, TEXTE_19.substr(0, 18)});
    selection("L", "L1", "v", '=', TEXTE_19);
    EXPECT_EQ(lignes_actives("L1"), (lignes{TEXTE_19}));
    selection("L", "L2", "v", '=', TEXTE_19 + "t");
    EXPECT_EQ(comptes("L2"), std::make_pair(int64_t{1}, int64_t{0}));

    // Without any data slot an order comparison selects nothing, quietly.
    creer_relation("VIDE", "age");
    selection("VIDE", "V1", "age", '<', "3");
    selection("VIDE", "V2", "age", '>', "3");
    EXPECT_EQ(comptes("V2"), std::make_pair(int64_t{1}, int64_t{0}));

    // A retired source row is never selected.
    creer_relation("D", "a");
    remplir("D", {"x", "x"});
    selection("D", "SD", "a", '=', "x");
    EXPECT_EQ(comptes("SD"), std::make_pair(int64_t{2}, int64_t{1}));

    creer_relation("T", "a,b");
    remplir("T", {"1,1", "1,2", "3,3", "1,1"});
    selection_attribut("T", "U", "a", '=', "b");
    EXPECT_EQ(entete_de("U"), "a,b");
    EXPECT_EQ(lignes_actives("U"), (lignes{"1,1", "3,3"}));
    EXPECT_EQ(comptes("U"), std::make_pair(int64_t{3}, int64_t{2}));
    selection_attribut("T", "U2", "a", '=', "a");
    EXPECT_EQ(lignes_actives("U2"), (lignes{"1,1", "1,2", "3,3"}));
}

TEST_F(operateurs, selection_ordre_des_erreurs) {
    EXPECT_EQ(code_avec(creer_emp, [] { selection("X", "EMP", "age", '=', "1"); }), 203);
    EXPECT_EQ(code_avec(creer_emp, [] { selection("EMP", "EMP", "salaire", '=', "1"); }), 200);
    EXPECT_EQ(code_avec(creer_emp, [] { selection("EMP", NOM_21, "salaire", '>', "1"); }), 204);
    EXPECT_EQ(code_avec(creer_emp, [] { selection("EMP", "S", "age", '>', "26"); }), 303);
    EXPECT_EQ(code_avec(creer_emp, [] { selection("EMP", "S", "age", '<', "26"); }), 303);
    // The result is created before the order comparison is refused.
    EXPECT_EQ(code_avec(creer_emp, [] { selection("EMP", NOM_21, "age", '>', "26"); }), 209);
    EXPECT_EQ(code_avec(creer_emp, [] { selection("EMP", NOM_21, "age", '=', "26"); }), 209);

    auto creer_t = [] {
        creer_relation("T", "a,b");
        ajouter_tuple("T", "1,1");
    };
    EXPECT_EQ(code_avec(creer_t, [] { selection_attribut("T", "U", "a", '=', "c"); }), 204);
    EXPECT_EQ(code_avec(creer_t, [] { selection_attribut("T", "U", "c", '=', "a"); }), 204);
    EXPECT_EQ(code_avec(creer_t, [] { selection_attribut("T", "T", "c", '=', "a"); }), 200);
    EXPECT_EQ(code_avec(creer_t, [] { selection_attribut("X", "T", "c", '=', "a"); }), 203);
    EXPECT_EQ(code_avec(creer_t, [] { selection_attribut("T", NOM_21, "a", '<', "b"); }), 209);
    EXPECT_EQ(code_avec(creer_t, [] { selection_attribut("T", "U", "a", '>', "b"); }), 303);
}

TEST_F(operateurs, renommer_exemple) {
    creer_emp();
    renommer("EMP", "R", "ville", "cite");
    EXPECT_EQ(entete_de("R"), "personne,cite,age");
    EXPECT_EQ(entete_de("EMP"), "personne,ville,age");
    EXPECT_EQ(lignes_actives("R"), (lignes{"alice,lyon,30", "bob,paris,25", "carl,lyon,30"}));
    EXPECT_EQ(comptes("R"), std::make_pair(int64_t{4}, int64_t{3}));
    // The new name is the attribute's name for every later operation.
    EXPECT_EQ(verifier_champ_relation(*relation_existe("R"), "cite"), 1);
    EXPECT_EQ(verifier_champ_relation(*relation_existe("R"), "ville"), -1);
    projection("R", "P", "cite");
    EXPECT_EQ(lignes_actives("P"), (lignes{"lyon", "paris"}));

    renommer("EMP", "R2", "age", TEXTE_19);
    EXPECT_EQ(entete_de("R2"), "personne,ville," + TEXTE_19);

    // Retired source rows are not copied: the result's slots are dense.
    creer_relation("D", "a,b");
    remplir("D", {"1,x", "1,x", "2,y"});
    renommer("D", "RD", "b", "c");
    EXPECT_EQ(comptes("RD"), std::make_pair(int64_t{3}, int64_t{2}));
    EXPECT_EQ(lignes_actives("RD"), (lignes{"1,x", "2,y"}));
    // The result takes rows like any relation, repeats included.
    ajouter_tuple("RD", "2,y");
    ajouter_tuple("RD", "3,z");
    EXPECT_EQ(comptes("RD"), std::make_pair(int64_t{5}, int64_t{3}));

    afficher_relation("R");
    afficher_relation("RD");
    EXPECT_EQ(lire_sortie(),
              "\n\n@relation R:personne,cite,age\n@data R:alice,lyon,30\n@data R:bob,paris,25"
              "\n@data R:carl,lyon,30"
              "\n\n@relation RD:a,c\n@data RD:1,x\n@data RD:2,y\n@data RD:3,z");
}

TEST_F(operateurs, renommer_ordre_des_erreurs) {
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("X", "EMP", "salaire", "ville"); }), 203);
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", "R", "age", "personne"); }), 206);
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", "R", "personne", "age"); }), 206);
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", "R", "ville", "ville"); }), 206);
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", "R", "salaire", "paie"); }), 204);
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", "R", "salaire", "ville"); }), 206);
    // The result name is judged only once both attribute names are acceptable.
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", "EMP", "salaire", "paie"); }), 204);
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", "EMP", "ville", "cite"); }), 200);
    EXPECT_EQ(code_avec(creer_emp, [] { renommer("EMP", NOM_21, "ville", "cite"); }), 209);
    // A new name too long for an attribute: after 206 and 204, before the result.
    const std::string nom_20 = TEXTE_19 + "t";
    EXPECT_EQ(code_avec(creer_emp, [&] { renommer("EMP", "R", "ville", nom_20); }), 209);
    EXPECT_EQ(code_avec(creer_emp, [&] { renommer("EMP", "EMP", "ville", nom_20); }), 209);
    EXPECT_EQ(code_avec(creer_emp, [&] { renommer("EMP", "R", "salaire", nom_20); }), 204);
}

TEST_F(operateurs, union_et_difference_exemples) {
    creer_a_b();
    union_rel("A", "B", "U");
    EXPECT_EQ(entete_de("U"), "x,y");
    EXPECT_EQ(lignes_actives("U"), (lignes{"1,2", "3,4", "5,6"}));
    EXPECT_EQ(comptes("U"), std::make_pair(int64_t{5}, int64_t{3}));
    EXPECT_EQ(relation_existe("U")->actifs[3], 0);
    difference("A", "B", "D");
    EXPECT_EQ(lignes_actives("D"), (lignes{"1,2"}));
    EXPECT_EQ(comptes("D"), std::make_pair(int64_t{2}, int64_t{1}));
    difference("B", "A", "D2");
    EXPECT_EQ(lignes_actives("D2"), (lignes{"5,6"}));
    union_rel("A", "A", "AA");
    EXPECT_EQ(lignes_actives("AA"), (lignes{"1,2", "3,4"}));
    EXPECT_EQ(comptes("AA"), std::make_pair(int64_t{5}, int64_t{2}));
    difference("A", "A", "A0");
    EXPECT_EQ(comptes("A0"), std::make_pair(int64_t{1}, int64_t{0}));

    creer_relation("E", "x,y");
    difference("A", "E", "AE");
    EXPECT_EQ(lignes_actives("AE"), (lignes{"1,2", "3,4"}));
    difference("E", "A", "EA");
    EXPECT_EQ(comptes("EA"), std::make_pair(int64_t{1}, int64_t{0}));

    // Retired operand rows are never taken.
    creer_relation("R", "x,y");
    remplir("R", {"7,8", "7,8", "1,2"});
    union_rel("R", "E", "RE");
    EXPECT_EQ(comptes("RE"), std::make_pair(int64_t{3}, int64_t{2}));
    difference("R", "A", "RA");
    EXPECT_EQ(lignes_actives("RA"), (lignes{"7,8"}));
    EXPECT_EQ(comptes("RA"), std::make_pair(int64_t{2}, int64_t{1}));

    // Results as operands, whatever the way their rows were appended.
    difference("A", "D", "AD");
    EXPECT_EQ(lignes_actives("AD"), (lignes{"3,4"}));
    union_rel("D", "AD", "DAD");
    difference("U", "DAD", "UD");
    EXPECT_EQ(lignes_actives("UD"), (lignes{"5,6"}));

    // The result takes further rows like any relation.
    ajouter_tuple("D", "1,2");
    ajouter_tuple("D", "9,9");
    EXPECT_EQ(comptes("D"), std::make_pair(int64_t{4}, int64_t{2}));

    afficher_relation("U");
    afficher_relation("A0");
    EXPECT_EQ(lire_sortie(), "\n\n@relation U:x,y\n@data U:1,2\n@data U:3,4\n@data U:5,6"
                             "\n\n@relation A0:x,y");
}

TEST_F(operateurs, verifier_schema_et_presence) {
    creer_a_b();
    creer_relation("V", "y,x");
    ajouter_tuple("V", "3,4");
    EXPECT_EQ(verifier_schema("A", "B"), 1);
    EXPECT_EQ(verifier_schema("A", "V"), 0);
    EXPECT_EQ(verifier_presence_tuple("A", "B", 2), 1);
    EXPECT_EQ(verifier_presence_tuple("A", "B", 1), 0);
    EXPECT_EQ(verifier_presence_tuple("B", "A", 1), 2);
    EXPECT_EQ(verifier_presence_tuple("A", "V", 2), 0);
    EXPECT_EQ(verifier_presence_tuple("A", "V", 99), 0); // schema before slot
    EXPECT_EQ(code_erreur([] { verifier_presence_tuple("A", "B", 3); }), 207);
}

TEST_F(operateurs, union_et_difference_ordre_des_erreurs) {
    auto avec = [](const std::string& attributs_v, const std::function<void()>& appel) {
        return code_sur_magasin_neuf([&] {
            creer_a_b();
            creer_relation("V", attributs_v);
            appel();
        });
    };
    EXPECT_EQ(avec("x,y,z", [] { verifier_schema("A", "V"); }), 201);
    for (auto operateur : {union_rel, difference}) {
        EXPECT_EQ(avec("y,x", [&] { operateur("A", "X", "B"); }), 200);
        EXPECT_EQ(avec("y,x", [&] { operateur("X", "Y", "U"); }), 203);
        EXPECT_EQ(avec("y,x", [&] { operateur("A", "X", "U"); }), 203);
        EXPECT_EQ(avec("x,y,z", [&] { operateur("A", "V", "U"); }), 201);
        // Same count, other names or order: refused too, before the result exists.
        EXPECT_EQ(avec("y,x", [&] { operateur("A", "V", "U"); }), 201);
        EXPECT_EQ(avec("x,z", [&] { operateur("A", "V", "U"); }), 201);
        EXPECT_EQ(avec("y,x", [&] { operateur("A", "V", NOM_21); }), 201);
        EXPECT_EQ(avec("y,x", [&] { operateur("A", "B", NOM_21); }), 209);
        EXPECT_EQ(avec("y,x", [&] { operateur("A", "B", NOM_20); }), 0);
    }
}

TEST_F(operateurs, jointure_exemple) {
    creer_relation("L", "personne,ville");
    remplir("L", {"alice,lyon", "bob,paris"});
    creer_relation("R", "ville,pays");
    remplir("R", {"lyon,fr", "rome,it", "paris,fr"});
    jointure("L", "R", "J");
    EXPECT_EQ(entete_de("J"), "personne,ville,pays");
    EXPECT_EQ(lignes_actives("J"), (lignes{"alice,lyon,fr", "bob,paris,fr"}));
    EXPECT_EQ(comptes("J"), std::make_pair(int64_t{3}, int64_t{2}));
    // The product is registered just before the result, with every pair counted.
    EXPECT_EQ(entete_de("#J"), "personne,ville,ville,pays");
    EXPECT_EQ(relation_existe("#J")->nb_champs, 4);
    EXPECT_EQ(comptes("#J"), std::make_pair(int64_t{7}, int64_t{2}));
    ASSERT_EQ(dico->nb_relations, 4);
    EXPECT_EQ(dico->entrees[2].nom, "#J");
    EXPECT_EQ(dico->entrees[3].nom, "J");
}

TEST_F(operateurs, produit_cartesien_par_ligne_de_gauche) {
    creer_relation("A", "x");
    remplir("A", {"1", "2", "1"});
    creer_relation("B", "y");
    remplir("B", {"a", "b"});
    jointure("A", "B", "P");
    EXPECT_EQ(entete_de("P"), "x,y");
    EXPECT_EQ(lignes_actives("P"), (lignes{"1,a", "1,b", "2,a", "2,b"}));
    EXPECT_EQ(comptes("#P"), std::make_pair(int64_t{5}, int64_t{4}));
    jointure("B", "A", "Q");
    EXPECT_EQ(lignes_actives("Q"), (lignes{"a,1", "a,2", "b,1", "b,2"}));
}

TEST_F(operateurs, jointure_cas_limites) {
    creer_a_b();
    jointure("A", "B", "J");
    EXPECT_EQ(entete_de("J"), "x,y");
    EXPECT_EQ(lignes_actives("J"), (lignes{"3,4"}));
    EXPECT_EQ(comptes("#J"), std::make_pair(int64_t{5}, int64_t{1}));

    jointure("A", "A", "S");
    EXPECT_EQ(entete_de("S"), "x,y");
    EXPECT_EQ(lignes_actives("S"), (lignes{"1,2", "3,4"}));
    EXPECT_EQ(comptes("#S"), std::make_pair(int64_t{5}, int64_t{2}));

    // Two common attributes, in another order on the right: both must agree,
    // and the matches of one left row come in the right operand's slot order.
    creer_relation("G", "a,b,c");
    remplir("G", {"1,1,x", "1,2,y", "2,1,z"});
    creer_relation("H", "b,a,d");
    remplir("H", {"2,1,q", "1,1,s", "1,2,r", "1,1,p", "2,2,n"});
    jointure("G", "H", "GH");
    EXPECT_EQ(entete_de("GH"), "a,b,c,d");
    EXPECT_EQ(lignes_actives("GH"), (lignes{"1,1,x,s", "1,1,x,p", "1,2,y,q", "2,1,z,r"}));
    EXPECT_EQ(comptes("#GH"), std::make_pair(int64_t{16}, int64_t{4}));

    // Right attributes all common: one match at most per left row.
    creer_relation("K", "a");
    remplir("K", {"2", "3"});
    jointure("G", "K", "GK");
    EXPECT_EQ(entete_de("GK"), "a,b,c");
    EXPECT_EQ(lignes_actives("GK"), (lignes{"2,1,z"}));

    // An operand without live rows; retired rows never counted.
    creer_relation("E", "x,z");
    jointure("A", "E", "AE");
    EXPECT_EQ(entete_de("AE"), "x,y,z");
    EXPECT_EQ(comptes("AE"), std::make_pair(int64_t{1}, int64_t{0}));
    EXPECT_EQ(comptes("#AE"), std::make_pair(int64_t{1}, int64_t{0}));
    jointure("E", "A", "EA");
    EXPECT_EQ(comptes("#EA"), std::make_pair(int64_t{1}, int64_t{0}));
    creer_relation("D", "x,w");
    remplir("D", {"3,k", "3,k", "1,m"});
    jointure("A", "D", "AD");
    EXPECT_EQ(lignes_actives("AD"), (lignes{"1,2,m", "3,4,k"}));
    EXPECT_EQ(comptes("#AD"), std::make_pair(int64_t{5}, int64_t{2}));

    jointure("A", "B", TEXTE_19);
    EXPECT_EQ(lignes_actives(TEXTE_19), (lignes{"3,4"}));
}

TEST_F(operateurs, jointure_chaines_longues_et_lignes_retirees) {
    // Right rows of one key far apart (slots 40, 100 and 170) among rows of
    // keys of their own, one of those repeated and so retired: a left row
    // meets every live right row of its key, in slot order, and the key of
    // the last slot is not missed.
    creer_relation("B", "k,v");
    std::vector<std::string> droite;
    for (int i = 0; i < 200; i++) {
        bool commune = i == 39 || i == 99 || i == 169;
        droite.push_back((commune ? "c" : "s" + std::to_string(i)) + "," + std::to_string(i));
    }
    droite.push_back("s7,7");
    droite.push_back("fin,0");
    remplir("B", droite);
    creer_relation("A", "k");
    remplir("A", {"s7", "c", "x", "fin", "s40"});
    jointure("A", "B", "J");
    EXPECT_EQ(lignes_actives("J"), (lignes{"s7,7", "c,39", "c,99", "c,169", "fin,0", "s40,40"}));
    EXPECT_EQ(comptes("J"), std::make_pair(int64_t{7}, int64_t{6}));
}

TEST_F(operateurs, jointure_ordre_des_erreurs) {
    EXPECT_EQ(code_avec(creer_a_b, [] { jointure("X", "Y", "A"); }), 200);
    EXPECT_EQ(code_avec(creer_a_b, [] { jointure("X", "Y", "J"); }), 203);
    EXPECT_EQ(code_avec(creer_a_b, [] { jointure("A", "Y", "J"); }), 203);
    EXPECT_EQ(code_avec(creer_a_b, [] { jointure("A", "B", NOM_20); }), 209);
    // The product's name is taken.
    EXPECT_EQ(code_avec(creer_a_b,
                        [] {
                            creer_relation("#J", "a");
                            jointure("A", "B", "J");
                        }),
              200);
    // More than 8 attributes together, even with a smaller result.
    auto cinq_et_quatre = [] {
        creer_relation("G", "a,b,c,d,e");
        creer_relation("H", "e,f,g,h");
    };
    EXPECT_EQ(code_avec(cinq_et_quatre, [] { jointure("G", "H", "J"); }), 202);
    EXPECT_EQ(code_avec(cinq_et_quatre, [] { jointure("G", "H", NOM_20); }), 209);
    auto cinq = [] { creer_relation("G", "a,b,c,d,e"); };
    EXPECT_EQ(code_avec(cinq, [] { jointure("G", "G", "J"); }), 202);
    // Eight long names on each side: the product's list is too long (209)
    // before it has too many attributes (202).
    auto huit_longs = [] {
        std::string liste = TEXTE_19;
        for (char c = 'b'; c <= 'h'; c++) liste += "," + std::string(1, c) + TEXTE_19.substr(1);
        creer_relation("G", liste);
    };
    EXPECT_EQ(code_avec(huit_longs, [] { jointure("G", "G", "J"); }), 209);
}

TEST_F(operateurs, le_produit_compte_au_dela_de_32_bits) {
    creer_relation("G", "a,b");
    creer_relation("H", "a,c");
    for (int i = 0; i < 50000; i++) {
        ajouter_tuple("G", "g" + std::to_string(i) + ",1");
        ajouter_tuple("H", "h" + std::to_string(i) + ",2");
    }
    jointure("G", "H", "J");
    EXPECT_EQ(comptes("#J"), std::make_pair(int64_t{2500000001}, int64_t{0}));
    EXPECT_EQ(comptes("J"), std::make_pair(int64_t{1}, int64_t{0}));
    testing::internal::CaptureStdout();
    afficher_dico();
    std::string resume = testing::internal::GetCapturedStdout();
    EXPECT_NE(resume.find("     42500000001     0\n"), std::string::npos) << resume;
}
