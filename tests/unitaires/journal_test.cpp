// The journal of a run, as the companion programs read it: one entry per
// statement (a run of @data statements folded into one), the text as
// written, the relations each made or filled as they stood at its end, the
// errors, and the store kept after an error.
#include "driver/execution.h"
#include "driver/journal.h"
#include "language/jetons.h"
#include "store/relation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

FILE* flux_de(std::string& texte) { return fmemopen(texte.data(), texte.size(), "r"); }

int executer(std::string commandes, std::string donnees = "") {
    FILE* d = donnees.empty() ? nullptr : flux_de(donnees);
    return executer_journal(d, flux_de(commandes));
}

std::vector<std::string> noms(const instruction_notee& ins) {
    std::vector<std::string> resultat;
    for (const etat_releve& e : ins.etats) resultat.push_back(e.rel->nom);
    return resultat;
}

TEST(journal, instructions_textes_et_relations) {
    ASSERT_EQ(executer("@relation R: a,b\n@data R: 1,x\n@data R: 2,y\n@data R: 1,x\n"
                       "@relation S: a,b\n@data S: 2,y\n"
                       "@let T: (R MINUS S)\n   UNION (S WHERE a = \"2\")\n@print T:\n"
                       "@data T: 9,z\n"),
              0);
    const auto& ins = journal.instructions;
    ASSERT_EQ(ins.size(), 7u);
    EXPECT_EQ(ins[0].mot, AT_RELATION);
    EXPECT_EQ(ins[0].texte, "@relation R: a,b");
    EXPECT_EQ(ins[1].mot, AT_DATA);
    EXPECT_EQ(ins[1].ligne, 2);
    EXPECT_EQ(ins[1].nb_instructions, 3);
    ASSERT_EQ(ins[1].donnees.size(), 1u);
    EXPECT_EQ(ins[1].donnees[0].lignes, 3);
    EXPECT_EQ(ins[1].etats[0].nb_actifs, 2);
    EXPECT_EQ(ins[1].etats[0].nb_tuples, 4);
    // Spread over two lines, the statement is one line of text.
    EXPECT_EQ(ins[4].texte, "@let T: (R MINUS S)    UNION (S WHERE a = \"2\")");
    EXPECT_EQ(ins[4].ligne, 7);
    EXPECT_EQ(noms(ins[4]), (std::vector<std::string>{"#B", "#C", "T"}));
    ASSERT_EQ(ins[4].operations.size(), 3u);
    EXPECT_EQ(ins[4].operations[2].resultat, "T");
    ASSERT_TRUE(ins[5].affichee.has_value());
    EXPECT_EQ(ins[5].affichee->rel->nom, "T");
    // T as it was printed, before the later row.
    EXPECT_EQ(ins[5].affichee->nb_actifs, 2);
    EXPECT_EQ(lignes_releve(*ins[5].affichee).size(), 2u);
    EXPECT_EQ(ins[6].etats[0].nb_actifs, 3);
    EXPECT_TRUE(journal.erreurs.empty());
}

TEST(journal, erreur_garde_le_magasin) {
    ASSERT_EQ(executer("@relation R: a\n@data R: 1\n@data R: 2\n@data X: 3\n"), 1);
    ASSERT_EQ(journal.erreurs.size(), 1u);
    EXPECT_EQ(journal.erreurs[0].code, 203);
    EXPECT_EQ(journal.erreurs[0].ligne, 4);
    EXPECT_EQ(journal.erreurs[0].message, "[203] la relation n'existe pas");
    const instruction_notee& donnees = journal.instructions.back();
    EXPECT_TRUE(donnees.interrompue);
    // The rows still waiting when the error came are in the store.
    ASSERT_EQ(donnees.etats.size(), 1u);
    EXPECT_EQ(lignes_releve(donnees.etats[0]).size(), 2u);
}

TEST(journal, erreur_de_syntaxe_puis_fichier_suivant) {
    ASSERT_EQ(executer("@relation S: b\n", "@relation R: a\n@let X: R\n@print R:\n"), 1);
    ASSERT_EQ(journal.erreurs.size(), 1u);
    EXPECT_EQ(journal.erreurs[0].code, 0);
    EXPECT_EQ(journal.erreurs[0].message, "parse error");
    const auto& ins = journal.instructions;
    ASSERT_EQ(ins.size(), 3u);
    // The @let refused at the keyword after it keeps its own text.
    EXPECT_EQ(ins[1].texte, "@let X: R");
    EXPECT_TRUE(ins[1].interrompue);
    EXPECT_EQ(ins[2].fichier, 1);
    EXPECT_EQ(ins[2].texte, "@relation S: b");
}

TEST(journal, jointure_produit_puis_resultat) {
    ASSERT_EQ(executer("@relation R: a,b\n@data R: 1,x\n@relation S: b,c\n@data S: x,2\n"
                       "@let J: R JOIN S\n"),
              0);
    const instruction_notee& let = journal.instructions.back();
    EXPECT_EQ(noms(let), (std::vector<std::string>{"#J", "J"}));
    // The product keeps its counts only: its rows are never stored.
    EXPECT_EQ(let.etats[0].stockes, 1);
    EXPECT_EQ(let.etats[0].nb_tuples, 2);
    EXPECT_EQ(let.etats[0].nb_actifs, 1);
    ASSERT_EQ(let.operations.size(), 1u);
    EXPECT_TRUE(let.operations[0].creee);
}

} // namespace
