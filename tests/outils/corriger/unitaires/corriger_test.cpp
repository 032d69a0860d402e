// algrel-corriger's pieces: statements of a data file, comparison by column
// name and as sets, output files read back, and the counter-example search.
#include "outils/corriger/comparaison.h"
#include "outils/corriger/contre_exemple.h"
#include "outils/corriger/lancer.h"
#include "outils/corriger/sorties.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using lignes = std::vector<std::vector<std::string>>;

TEST(decouper_instructions, une_par_mot_cle_en_debut_de_mot) {
    auto ins = decouper_instructions("  @relation R: a,b\n@data R: 1,\r\nx @data R: 2,y\n\n"
                                     "@let S: R WHERE a = \"1\"\n@print S:");
    ASSERT_EQ(ins.size(), 5u);
    EXPECT_EQ(ins[0].texte, "@relation R: a,b");
    EXPECT_FALSE(ins[0].donnee);
    // A statement over two lines becomes one line; two on a line are two.
    EXPECT_EQ(ins[1].texte, "@data R: 1,  x");
    EXPECT_TRUE(ins[1].donnee);
    EXPECT_EQ(ins[2].texte, "@data R: 2,y");
    EXPECT_EQ(ins[4].texte, "@print S:");
    EXPECT_TRUE(decouper_instructions(" \n\t").empty());
}

resultat_programme resultat(std::vector<releve_affiche> releves) {
    resultat_programme r;
    r.releves = std::move(releves);
    return r;
}

TEST(comparer_resultats, colonnes_par_nom_et_lignes_en_ensemble) {
    auto attendu =
        resultat({{"T", {"a", "b"}, {{"1", "x"}, {"2", "y"}, {"3", "z"}}}, {"U", {"a"}, {{"1"}}}});
    auto obtenu =
        resultat({{"U", {"a"}, {{"1"}}}, {"T", {"b", "a"}, {{"z", "3"}, {"w", "4"}, {"x", "1"}}}});
    bilan_correction b = comparer_resultats(attendu, obtenu);
    EXPECT_FALSE(b.identique);
    ASSERT_EQ(b.relations.size(), 2u);
    const comparaison_relation& t = b.relations[0];
    EXPECT_EQ(t.statut, DIFFERENTE);
    EXPECT_TRUE(ordre_different(t));
    EXPECT_EQ(t.manquantes, (lignes{{"2", "y"}}));
    // The answer's rows are written in the reference's attribute order.
    EXPECT_EQ(t.en_trop, (lignes{{"4", "w"}}));
    EXPECT_EQ(b.relations[1].statut, IDENTIQUE);
}

TEST(comparer_resultats, valeurs_non_confondues) {
    // Rows that join to the same text are still different rows.
    auto attendu = resultat({{"T", {"a", "b"}, {{"1", "23"}}}});
    auto obtenu = resultat({{"T", {"a", "b"}, {{"12", "3"}}}});
    bilan_correction b = comparer_resultats(attendu, obtenu);
    EXPECT_EQ(b.relations[0].manquantes.size(), 1u);
    EXPECT_EQ(b.relations[0].en_trop.size(), 1u);
}

TEST(comparer_resultats, absente_attributs_differents_et_erreur) {
    auto attendu = resultat({{"T", {"a", "b"}, {{"1", "x"}}}, {"V", {"a"}, {{"1"}, {"2"}}}});
    auto obtenu = resultat({{"T", {"a", "c"}, {{"1", "x"}}}});
    obtenu.erreur = erreur_notee{4, 203, "[203] la relation n'existe pas"};
    bilan_correction b = comparer_resultats(attendu, obtenu);
    EXPECT_EQ(b.relations[0].statut, DIFFERENTE);
    EXPECT_EQ(b.relations[0].attributs_manquants, (std::vector<std::string>{"b"}));
    EXPECT_EQ(b.relations[0].attributs_en_trop, (std::vector<std::string>{"c"}));
    EXPECT_TRUE(b.relations[0].manquantes.empty());
    EXPECT_EQ(b.relations[1].statut, ABSENTE);
    EXPECT_EQ(b.relations[1].manquantes.size(), 2u);
    // Identical relations with a failed run are not an identical answer.
    EXPECT_TRUE(comparer_resultats(attendu, attendu).identique);
    auto seul = resultat({attendu.releves[0]});
    auto seul_en_echec = seul;
    seul_en_echec.erreur = obtenu.erreur;
    EXPECT_FALSE(comparer_resultats(seul, seul_en_echec).identique);
}

TEST(lancer_programme, derniere_liste_et_erreur) {
    resultat_programme r = lancer_programme(
        "@relation R: a\n@data R: 1\n", true,
        "@print R:\n@let S: R PROJECT a\n@print S:\n@data R: 2\n@print R:\n@print X:\n");
    ASSERT_EQ(r.releves.size(), 2u);
    EXPECT_EQ(r.releves[0].nom, "R");
    EXPECT_EQ(r.releves[0].lignes, (lignes{{"1"}, {"2"}}));
    EXPECT_EQ(r.releves[1].nom, "S");
    ASSERT_TRUE(r.erreur);
    EXPECT_EQ(r.erreur->code, 203);
    EXPECT_EQ(r.erreur->ligne, 8);
    EXPECT_EQ(texte_erreur(*r.erreur), "ERREUR ligne 8 : [203] la relation n'existe pas");
}

TEST(lire_sorties, nom_liste_deux_fois_et_fichier_invalide) {
    resultat_programme r = lire_sorties("s", "\n\n@relation T:a,b\n@data T:1,x\n\n@relation U:c"
                                             "\n\n@relation T:a,b\n@data T:2,y\n@data T:3,z");
    ASSERT_EQ(r.releves.size(), 2u);
    EXPECT_EQ(r.releves[0].nom, "T");
    EXPECT_EQ(r.releves[0].lignes, (lignes{{"2", "y"}, {"3", "z"}}));
    EXPECT_TRUE(r.releves[1].lignes.empty());
    EXPECT_TRUE(lire_sorties("s", "").releves.empty());
    EXPECT_THROW(lire_sorties("s", "@data T:1\n"), erreur_entree);
    EXPECT_THROW(lire_sorties("s", "@relation T:a\n@let U: T PROJECT a\n"), erreur_entree);
    EXPECT_THROW(lire_sorties("s", "@relation T:a\n@relation U:b\n@data T:1"), erreur_entree);
}

// The data rows left in a counter-example's text.
std::vector<std::string> donnees_gardees(const std::string& texte) {
    std::vector<std::string> gardees;
    for (const instruction_donnees& i : decouper_instructions(texte))
        if (i.donnee) gardees.push_back(i.texte);
    return gardees;
}

TEST(chercher_contre_exemple, minimal_sur_une_jointure_mal_ecrite) {
    // The answer keeps the employees of every town, not only those of a
    // French one: a row of EMP in a town of another country is enough.
    std::string donnees = "@relation EMP: p,ville\n@relation VILLES: ville,pays\n";
    for (int i = 0; i < 300; i++)
        donnees += "@data EMP: p" + std::to_string(i) + ",v" + std::to_string(i % 7) + "\n";
    for (int v = 0; v < 7; v++)
        donnees += "@data VILLES: v" + std::to_string(v) + (v == 3 ? ",it\n" : ",fr\n");
    std::string reference =
        "@let R: (EMP JOIN (VILLES WHERE pays = \"fr\")) PROJECT p\n@print R:\n";
    std::string reponse = "@let R: (EMP JOIN VILLES) PROJECT p\n@print R:\n";
    contre_exemple ce = chercher_contre_exemple(donnees, reference, reponse, 30);
    ASSERT_TRUE(ce.trouve);
    EXPECT_FALSE(ce.interrompu);
    EXPECT_EQ(ce.nb_donnees_depart, 307);
    std::vector<std::string> gardees = donnees_gardees(ce.texte);
    ASSERT_EQ(gardees.size(), 2u);
    EXPECT_EQ(gardees[1], "@data VILLES: v3,it");
    EXPECT_EQ(ce.texte.substr(0, 52), "@relation EMP: p,ville\n@relation VILLES: ville,pays\n");
    // Without either row, the two agree.
    auto instructions = decouper_instructions(ce.texte);
    for (size_t k = 0; k < instructions.size(); k++) {
        if (!instructions[k].donnee) continue;
        std::string sans;
        for (size_t i = 0; i < instructions.size(); i++)
            if (i != k) sans += instructions[i].texte + "\n";
        EXPECT_TRUE(comparer_resultats(lancer_programme(sans, true, reference),
                                       lancer_programme(sans, true, reponse))
                        .identique);
    }
}

TEST(chercher_contre_exemple, sans_donnee_quand_la_reponse_echoue_toujours) {
    contre_exemple ce = chercher_contre_exemple("@relation R: a\n@data R: 1\n@data R: 2\n",
                                                "@print R:\n", "@print X:\n", LONG_MAX);
    ASSERT_TRUE(ce.trouve);
    EXPECT_EQ(ce.texte, "@relation R: a\n");
    EXPECT_EQ(ce.nb_donnees, 0);
    ASSERT_TRUE(ce.reponse.erreur);
}

} // namespace
