// The scanner: token sequences with their texts, line counting, the switch to
// a new stream and tokens longer than the input buffer.
#include "aide.h"

#include "language/analyseur_lexical.h"
#include "language/jetons.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

TEST(lexique, mots_cles_seulement_sous_leur_forme_exacte) {
    EXPECT_EQ(decrire_jetons("WHERE PROJECT JOIN UNION MINUS RENAME AS"),
              "WHERE PROJECT JOIN UNION MINUS RENAME AS");
    EXPECT_EQ(decrire_jetons("where Where Join"), "IDENT(where) IDENT(Where) IDENT(Join)");
    EXPECT_EQ(decrire_jetons("WHEREX AS1 ASK JOIN_2 PROJECTION"),
              "IDENT(WHEREX) IDENT(AS1) IDENT(ASK) IDENT(JOIN_2) IDENT(PROJECTION)");
    EXPECT_EQ(decrire_jetons("AS,B WHERE,JOIN"), "LISTE(AS,B) LISTE(WHERE,JOIN)");
    EXPECT_EQ(decrire_jetons("_x9"), "IDENT(_x9)");
}

TEST(lexique, mots_cles_d_instruction_et_leur_espace) {
    EXPECT_EQ(decrire_jetons("@relation R"), "AT_RELATION IDENT(R)");
    EXPECT_EQ(decrire_jetons("@relation  \tR"), "AT_RELATION IDENT(R)");
    EXPECT_EQ(decrire_jetons("@data R @let S"), "AT_DATA IDENT(R) AT_LET IDENT(S)");
    EXPECT_EQ(decrire_jetons("@relationR"), "64 IDENT(relationR)");
    EXPECT_EQ(decrire_jetons("@relation\tR"), "64 IDENT(relation) IDENT(R)");
    EXPECT_EQ(decrire_jetons("@data\nR"), "64 IDENT(data) IDENT(R)");
    EXPECT_EQ(decrire_jetons("@let"), "64 IDENT(let)");
    EXPECT_EQ(decrire_jetons("@Print"), "64 IDENT(Print)");
    EXPECT_EQ(decrire_jetons("@print R"), "AT_PRINT IDENT(R)");
    EXPECT_EQ(decrire_jetons("@printR"), "AT_PRINT IDENT(R)");
    EXPECT_EQ(decrire_jetons("@"), "64");
    EXPECT_EQ(decrire_jetons("@rel @@print"), "64 IDENT(rel) 64 AT_PRINT");
}

TEST(lexique, items_nombres_et_listes) {
    EXPECT_EQ(decrire_jetons("12ab"), "IDENT(12) IDENT(ab)");
    EXPECT_EQ(decrire_jetons("-5 3.14"), "45 IDENT(5) IDENT(3) 46 IDENT(14)");
    EXPECT_EQ(decrire_jetons("a,b,c 1,2,3 x9,_y"), "LISTE(a,b,c) LISTE(1,2,3) LISTE(x9,_y)");
    EXPECT_EQ(decrire_jetons("a,12b"), "LISTE(a,12) IDENT(b)");
    EXPECT_EQ(decrire_jetons("0012,007"), "LISTE(0012,007)");
}

TEST(lexique, une_virgule_sans_item_derriere_reste_seule) {
    EXPECT_EQ(decrire_jetons("a, b"), "IDENT(a) 44 IDENT(b)");
    EXPECT_EQ(decrire_jetons("a,"), "IDENT(a) 44");
    EXPECT_EQ(decrire_jetons("a,b,"), "LISTE(a,b) 44");
    EXPECT_EQ(decrire_jetons("a,,b"), "IDENT(a) 44 44 IDENT(b)");
    EXPECT_EQ(decrire_jetons("a,\nb"), "IDENT(a) 44 IDENT(b)");
    EXPECT_EQ(decrire_jetons(",a"), "44 IDENT(a)");
}

TEST(lexique, comparaisons_guillemets_et_autres_caracteres) {
    EXPECT_EQ(decrire_jetons("<>"), "OP(<) OP(>)");
    EXPECT_EQ(decrire_jetons("<= =="), "OP(<) OP(=) OP(=) OP(=)");
    EXPECT_EQ(decrire_jetons("R WHERE A = \"v\""), "IDENT(R) WHERE IDENT(A) OP(=) 34 IDENT(v) 34");
    EXPECT_EQ(decrire_jetons("\"deux mots\""), "34 IDENT(deux) IDENT(mots) 34");
    EXPECT_EQ(decrire_jetons("#;():"), "35 59 40 41 58");
    // Only space and tab are blanks; form feed and vertical tab are tokens.
    EXPECT_EQ(decrire_jetons("a\fb\vc"), "IDENT(a) 12 IDENT(b) 11 IDENT(c)");
}

TEST(lexique, retour_chariot_octets_hauts_et_nul) {
    EXPECT_EQ(decrire_jetons("a\r\nb"), "IDENT(a) 13 IDENT(b)");
    EXPECT_EQ(num_ligne, 2);
    EXPECT_EQ(decrire_jetons("caf\xE9s \xFF\x80"),
              "IDENT(caf) INVALIDE IDENT(s) INVALIDE INVALIDE");
    // A NUL byte is a token of its own, and what follows it is still scanned.
    EXPECT_EQ(decrire_jetons(std::string("a\0b,c\n@print", 12)),
              "IDENT(a) INVALIDE LISTE(b,c) AT_PRINT");
    EXPECT_EQ(decrire_jetons(std::string("\0", 1)), "INVALIDE");
}

TEST(lexique, instructions_sur_quatre_lignes_et_compte_des_lignes) {
    const std::string texte = "@relation R:A,B,C\n@data R:1,2,3\n@let S: R WHERE A = \"x\"\n"
                              "@print S:\n";
    EXPECT_EQ(jetons_de(texte),
              (std::vector<int>{AT_RELATION, IDENT,  ':',   LISTE, AT_DATA,  IDENT, ':',
                                LISTE,       AT_LET, IDENT, ':',   IDENT,    WHERE, IDENT,
                                OPERATEUR,   '"',    IDENT, '"',   AT_PRINT, IDENT, ':'}));
    EXPECT_EQ(num_ligne, 5);
    // Newlines are counted by the time the token after them is returned.
    texte_installe entree("a\n\n\tb\nc");
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(num_ligne, 1);
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(num_ligne, 3);
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(yylval, "c");
    EXPECT_EQ(num_ligne, 4);
}

TEST(lexique, entree_vide_et_fin_repetee) {
    EXPECT_TRUE(jetons_de("").empty());
    EXPECT_TRUE(jetons_de(" \t\n\n").empty());
    EXPECT_EQ(num_ligne, 3);
    texte_installe entree("x");
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(yylex(), FIN_ENTREE);
    EXPECT_EQ(yylex(), FIN_ENTREE);
}

TEST(lexique, un_nouveau_flux_abandonne_la_lecture_anticipee) {
    {
        texte_installe donnees("R S T\nU\n");
        // The first parse stops after one token, the rest of its file already read ahead.
        EXPECT_EQ(yylex(), IDENT);
        EXPECT_EQ(yylval, "R");
        texte_installe commandes("\nX,Y", false);
        EXPECT_EQ(yylex(), LISTE);
        EXPECT_EQ(yylval, "X,Y");
        EXPECT_EQ(num_ligne, 2);
        EXPECT_EQ(yylex(), FIN_ENTREE);
    }
    // After a file read to its end, the count goes on in the next one.
    texte_installe donnees("a\nb\n");
    while (yylex() != FIN_ENTREE) {
    }
    texte_installe commandes("\nc", false);
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(yylval, "c");
    EXPECT_EQ(num_ligne, 4);
}

TEST(lexique, jetons_plus_longs_que_le_tampon) {
    const size_t longueur = (3u << 19) + 7; // 1.5 MiB and a bit
    std::string nom(longueur, 'n');
    std::string liste = "a," + std::string(longueur, 'v') + ",b";
    texte_installe entree(nom + " " + liste + "\nfin");
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(yylval, nom);
    EXPECT_EQ(yylex(), LISTE);
    EXPECT_EQ(yylval, liste);
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(yylval, "fin");
    EXPECT_EQ(num_ligne, 2);
    EXPECT_EQ(yylex(), FIN_ENTREE);

    // Tokens cut by the end of a block: a list and a statement keyword.
    for (size_t blancs : {(1u << 19) - 3, (1u << 18) - 5, (1u << 19) - 1, (1u << 19) - 12}) {
        std::string coupe = std::string(blancs, ' ') + "AS,B @relation R";
        EXPECT_EQ(decrire_jetons(coupe), "LISTE(AS,B) AT_RELATION IDENT(R)") << blancs;
    }
}

namespace {

// A stream that gives `texte` in one read, then fails: a terminal hung up, a
// disk error.
ssize_t lire_puis_echouer(void* texte, char* tampon, size_t taille) {
    auto* reste = static_cast<std::string*>(texte);
    if (reste->empty()) {
        errno = EIO;
        return -1;
    }
    size_t n = std::min(taille, reste->size());
    std::memcpy(tampon, reste->data(), n);
    reste->erase(0, n);
    return static_cast<ssize_t>(n);
}

} // namespace

TEST(lexique, les_octets_lus_avant_une_erreur_de_lecture_sont_analyses) {
    std::string texte = "@print R:\n";
    FILE* flux = fopencookie(&texte, "r", {lire_puis_echouer, nullptr, nullptr, nullptr});
    reinitialiser_analyseur_lexical();
    yyrestart(flux);
    if (yyout == stdout) yyout = nullptr;
    EXPECT_EQ(yylex(), AT_PRINT);
    EXPECT_EQ(yylex(), IDENT);
    EXPECT_EQ(yylval, "R");
    EXPECT_EQ(yylex(), ':');
    try {
        yylex();
        ADD_FAILURE() << "a failed read must end the run";
    } catch (const fin_execution& fin) {
        EXPECT_EQ(fin.statut, 2);
    }
    std::fclose(flux);
}

// The ends of the items of each IDENT or LISTE token, as the insertion of a
// row takes them: offsets past each item, only within the longest list.
static std::vector<int> fins_notees(const std::string& texte) {
    texte_installe entree(texte);
    yylex();
    return std::vector<int>(yyitems.fins, yyitems.fins + yyitems.nombre);
}

TEST(lexique, fins_des_items_notees_pour_chaque_liste) {
    EXPECT_EQ(fins_notees("k0,a624,b99,c21"), (std::vector<int>{2, 7, 11, 15}));
    EXPECT_EQ(fins_notees("x"), (std::vector<int>{1}));
    EXPECT_EQ(fins_notees("a,12b"), (std::vector<int>{1, 4}));
    EXPECT_EQ(fins_notees("a,b,"), (std::vector<int>{1, 3}));
    std::string longue;
    for (int i = 0; i < 100; i++) longue += (i ? ",x" : "x");
    EXPECT_EQ(fins_notees(longue).size(), 90u); // the ends up to 180 only
    EXPECT_EQ(fins_notees(longue).back(), 179);
}

TEST(lexique, listes_et_noms_lus_par_blocs_de_seize_octets) {
    // A run is measured 16 bytes at a time: its end, a comma or a name's end
    // may fall anywhere in a block, or past a block with none.
    std::string nom(37, 'n');
    EXPECT_EQ(decrire_jetons(nom + " x,y"), "IDENT(" + nom + ") LISTE(x,y)");
    EXPECT_EQ(decrire_jetons(nom + ",y z"), "LISTE(" + nom + ",y) IDENT(z)");
    EXPECT_EQ(decrire_jetons("a," + nom + "@"), "LISTE(a," + nom + ") 64");
    EXPECT_EQ(decrire_jetons(std::string(20, 'a') + "\xc3\xa9,b"),
              "IDENT(" + std::string(20, 'a') + ") INVALIDE INVALIDE 44 IDENT(b)");
    EXPECT_EQ(decrire_jetons("1234567890123456789,2x"), "LISTE(1234567890123456789,2) IDENT(x)");
    EXPECT_EQ(decrire_jetons("Zz_09,aZ[b`c{d"),
              "LISTE(Zz_09,aZ) 91 IDENT(b) 96 IDENT(c) 123 IDENT(d)");
}
