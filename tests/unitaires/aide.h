// Helpers shared by the unit tests: a fresh interpreter for each test, the
// output file read back, the error code that a call raises, and a text cut
// into tokens.
#pragma once

#include "driver/erreurs.h"
#include "driver/execution.h"
#include "store/flux.h"
#include "store/relation.h"

#include <gtest/gtest.h>

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

// Inserts each row of `lignes` into relation `nom`.
void remplir(const std::string& nom, const std::vector<std::string>& lignes);

// The live rows of relation `nom`, as list texts, in slot order.
std::vector<std::string> lignes_actives(const std::string& nom);

// Every token code that the scanner returns for `texte`, end of input excluded.
std::vector<int> jetons_de(const std::string& texte);
