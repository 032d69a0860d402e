// Interned values: one id per distinct text, its text given back exactly,
// through the growth of the stored texts and of the set that finds them.
#include "aide.h"

#include "store/valeurs.h"

#include <string>
#include <vector>

class valeurs : public avec_interpreteur {};

namespace {

std::string texte_de(id_valeur id) {
    std::string texte;
    ajouter_texte_valeur(texte, id);
    return texte;
}

// Interns `textes` in one batch, as the data statement does.
std::vector<id_valeur> interner_lot(const std::vector<std::string>& textes, int32_t par_ligne = 1) {
    std::string tampon;
    std::vector<size_t> debuts;
    for (const std::string& t : textes) {
        debuts.push_back(tampon.size());
        tampon += t + ",";
    }
    tampon.append(MARGE_LECTURE, '\0');
    std::vector<std::string_view> vues;
    for (size_t i = 0; i < textes.size(); i++)
        vues.emplace_back(tampon.data() + debuts[i], textes[i].size());
    std::vector<id_valeur> ids(textes.size());
    interner_valeurs(vues.data(), static_cast<int32_t>(vues.size()), ids.data(), par_ligne);
    return ids;
}

// Looks up as many texts as a long run does before its cache of short texts
// is used.
void passer_le_debut_d_une_longue_execution() {
    interner_lot(std::vector<std::string>(size_t{1} << 18, "w"));
}

} // namespace

TEST_F(valeurs, des_textes_qui_different_apres_leur_premier_mot_ont_des_ids_distincts) {
    // Same first 8 or 16 bytes, different past them; and every length to 19.
    std::vector<std::string> textes = {"abcdefgh",
                                       "abcdefghi",
                                       "abcdefghj",
                                       "abcdefghijklmnop",
                                       "abcdefghijklmnopq",
                                       "abcdefghijklmnopr",
                                       "a",
                                       "007",
                                       "0"};
    std::string long_texte;
    for (int n = 1; n <= 19; n++) textes.push_back(long_texte += static_cast<char>('A' + n));
    std::vector<id_valeur> ids = interner_lot(textes);
    for (size_t i = 0; i < textes.size(); i++) {
        EXPECT_EQ(texte_de(ids[i]), textes[i]);
        EXPECT_EQ(interner_valeur(textes[i]), ids[i]) << textes[i];
        EXPECT_EQ(chercher_valeur(textes[i]), ids[i]) << textes[i];
        for (size_t j = 0; j < i; j++) EXPECT_NE(ids[i], ids[j]) << textes[i] << " " << textes[j];
    }
    EXPECT_EQ(chercher_valeur("abcdefghk"), ID_ABSENT);
    EXPECT_EQ(code_erreur([] { interner_valeur("abcdefghijklmnopqrst"); }), 209);
}

TEST_F(valeurs, chaque_id_rend_son_texte_apres_la_croissance_des_textes) {
    // Enough texts for their storage to be moved several times, each batch
    // repeating some texts of the one before.
    std::vector<std::string> tous;
    std::vector<id_valeur> ids_de_tous;
    for (int lot = 0; lot < 50; lot++) {
        std::vector<std::string> textes;
        for (int i = 0; i < 4000; i++) textes.push_back("v" + std::to_string(lot * 4000 + i) + "x");
        for (int i = 0; i < 100 && lot > 0; i++) textes.push_back(tous[tous.size() - 1 - i]);
        std::vector<id_valeur> ids = interner_lot(textes);
        for (int i = 0; i < 100 && lot > 0; i++)
            EXPECT_EQ(ids[4000 + i], ids_de_tous[tous.size() - 1 - i]);
        for (int i = 0; i < 4000; i++) {
            tous.push_back(textes[i]);
            ids_de_tous.push_back(ids[i]);
        }
    }
    for (size_t i = 0; i < tous.size(); i += 997) {
        EXPECT_EQ(texte_de(ids_de_tous[i]), tous[i]);
        EXPECT_EQ(chercher_valeur(tous[i]), ids_de_tous[i]);
    }
}

TEST_F(valeurs, un_lot_mele_d_entiers_et_de_textes_rend_les_ids_d_un_par_un) {
    // Runs of integers of every length between the texts, so that the texts
    // looked up together lie far apart in the batch; texts repeat across runs.
    std::vector<std::string> textes;
    for (int i = 0; i < 3000; i++) {
        for (int k = 0; k < i % 40; k++) textes.push_back(std::to_string(i * 7 + k));
        textes.push_back("t" + std::to_string(i % 500));
        if (i % 3 == 0) textes.push_back("0" + std::to_string(i));
    }
    std::vector<id_valeur> ids = interner_lot(textes);
    for (size_t i = 0; i < textes.size(); i++) {
        ASSERT_EQ(interner_valeur(textes[i]), ids[i]) << textes[i];
        ASSERT_EQ(texte_de(ids[i]), textes[i]);
    }
}

TEST_F(valeurs, un_texte_trop_long_dans_un_lot_est_refuse) {
    EXPECT_EQ(code_erreur([] {
                  interner_lot({"avant", "12", "abcdefghijklmnopqrst", "apres"});
              }),
              209);
}

TEST_F(valeurs, un_lot_de_lignes_est_interne_colonne_par_colonne) {
    // Rows of (key, value among 3, integer): equal texts get one id whatever
    // their column, and the new texts of a column get increasing ids in row
    // order, which the shortcut for rows with a new greatest id relies on.
    std::vector<std::string> textes;
    for (int i = 0; i < 3000; i++) {
        textes.push_back("k" + std::to_string(i));
        textes.push_back(i % 7 == 0 ? "k" + std::to_string(i / 2) : "v" + std::to_string(i % 3));
        textes.push_back(std::to_string(i));
    }
    std::vector<id_valeur> ids = interner_lot(textes, 3);
    for (size_t i = 0; i < textes.size(); i++) {
        EXPECT_EQ(texte_de(ids[i]), textes[i]);
        EXPECT_EQ(chercher_valeur(textes[i]), ids[i]);
    }
    for (size_t i = 3; i < textes.size(); i += 3) EXPECT_GT(ids[i], ids[i - 3]);
}

TEST_F(valeurs, les_textes_courts_repetes_gardent_les_ids_de_l_ensemble) {
    // Short texts met again and again are answered by a cache: texts that
    // share their first bytes but not their length (a zero byte included)
    // keep distinct ids, a column of integers between two columns of texts
    // changes nothing, and a column of new keys still gets its own ids.
    passer_le_debut_d_une_longue_execution();
    const std::string courts[] = {"ab", std::string("ab\0", 3), "abc", "abcdefgh", "abcdefg", "b",
                                  "ba"};
    std::vector<std::string> textes;
    for (int i = 0; i < 5000; i++) {
        textes.push_back(courts[i % 7]);
        textes.push_back(std::to_string(i));
        textes.push_back(i % 2 ? courts[(i / 2) % 7] : "k" + std::to_string(i));
    }
    for (int lot = 0; lot < 2; lot++) {
        std::vector<id_valeur> ids = interner_lot(textes, 3);
        for (size_t i = 0; i < textes.size(); i++) {
            ASSERT_EQ(texte_de(ids[i]), textes[i]) << i;
            ASSERT_EQ(chercher_valeur(textes[i]), ids[i]) << i;
        }
    }
}

TEST_F(valeurs, apres_l_oubli_des_textes_le_cache_ne_rend_plus_leurs_ids) {
    // A text interned again after everything was forgotten gets the id of
    // its new place, not the one it had before ("x" now has that one).
    passer_le_debut_d_une_longue_execution();
    std::vector<std::string> repetes(100, "a");
    interner_lot(repetes);
    reinitialiser_valeurs();
    id_valeur x = interner_lot({"x"})[0];
    passer_le_debut_d_une_longue_execution();
    std::vector<id_valeur> ids = interner_lot(repetes);
    EXPECT_EQ(texte_de(x), "x");
    for (size_t i = 0; i < ids.size(); i++) ASSERT_EQ(texte_de(ids[i]), "a") << i;
}

TEST_F(valeurs, un_grand_ensemble_retrouve_chacun_de_ses_textes) {
    // More texts than the processor's caches hold in the set (which then
    // loads ahead the text of the first entry bearing its hash bits), looked
    // up again in an order of their own, as the rows of a second relation
    // over the same values are: each is found with the id it was given, none
    // interned twice.
    constexpr int NOMBRE = 1600000, LOT = 4096;
    std::vector<id_valeur> premiers;
    std::vector<std::string> textes;
    for (int debut = 0; debut < NOMBRE; debut += LOT) {
        textes.clear();
        for (int i = debut; i < std::min(NOMBRE, debut + LOT); i++)
            textes.push_back("g" + std::to_string(i));
        std::vector<id_valeur> ids = interner_lot(textes);
        premiers.insert(premiers.end(), ids.begin(), ids.end());
    }
    for (int debut = 0; debut < NOMBRE; debut += LOT) {
        textes.clear();
        std::vector<int> rangs;
        for (int i = debut; i < std::min(NOMBRE, debut + LOT); i++) {
            rangs.push_back(static_cast<int>((i * 7919LL) % NOMBRE));
            textes.push_back("g" + std::to_string(rangs.back()));
        }
        std::vector<id_valeur> ids = interner_lot(textes);
        for (size_t k = 0; k < ids.size(); k++) ASSERT_EQ(ids[k], premiers[rangs[k]]) << textes[k];
    }
    // A new text is stored right after the last one of the first pass.
    std::string dernier = "g" + std::to_string(NOMBRE - 1);
    EXPECT_EQ(interner_valeur("g" + std::to_string(NOMBRE)), premiers.back() + 1 + dernier.size());
}
