// Helpers shared by the unit tests: a fresh interpreter for each test, the
// output file read back, the error code that a call raises, and a text cut
// into tokens.
#pragma once

#include "driver/erreurs.h"
#include "driver/execution.h"
#include "store/flux.h"
#include "store/relation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// A test with an empty dictionary and an output file of its own.
class avec_interpreteur : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Closes the output file and answers everything written to it.
    std::string lire_sortie();

  private:
    std::string chemin_sortie_;
};

// The catalogue code that `appel` raises through erreur, or 0 when it returns.
int code_erreur(const std::function<void()>& appel);

// The code that `scenario` raises when run on a fresh empty dictionary. An
// error releases the store, so each scenario builds everything it needs; when
// it returns normally its relations stay there for inspection.
int code_sur_magasin_neuf(const std::function<void()>& scenario);

// Inserts each row of `lignes` into relation `nom`.
void remplir(const std::string& nom, const std::vector<std::string>& lignes);

// The live rows of relation `nom`, as list texts, in slot order.
std::vector<std::string> lignes_actives(const std::string& nom);

// The attribute list of relation `nom`, as list text.
std::string entete_de(const std::string& nom);

// `texte` installed as the scanner's new input for the life of the object;
// `depart` also puts the scanner back in its state at program start (line 1,
// nothing read).
class texte_installe {
  public:
    explicit texte_installe(std::string texte, bool depart = true);
    ~texte_installe();
    texte_installe(const texte_installe&) = delete;
    texte_installe& operator=(const texte_installe&) = delete;

  private:
    std::string texte_;
    FILE* flux_;
};

// Every token code that the scanner returns for `texte`, end of input excluded.
std::vector<int> jetons_de(const std::string& texte);

// The tokens of `texte` as one readable line, end of input excluded: value
// tokens with the text left in yylval (IDENT(a), LISTE(a,b), OP(=)), keywords
// by name, NUL and high bytes as INVALIDE, other bytes as their code.
std::string decrire_jetons(const std::string& texte);
