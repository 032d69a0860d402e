// The grammar's actions: what each rule of the @let statement and its
// expressions does once its phrase is recognised.
#pragma once

#include "language/descripteur.h"

#include <memory>
#include <string>

// One entry of the parser's stack: its state and the value of its symbol.
struct entree_pile {
    unsigned char etat = 0;
    std::string texte;                 // IDENT, LISTE, OPERATEUR and elements
    std::unique_ptr<descripteur> desc; // operande, operation and the six operation forms
};

// Runs the action of rule `numero` over its right-hand side `droite` (the
// rule's symbols, first to last) and leaves the value of its left-hand side
// in droite[0].
void executer_action(int numero, entree_pile* droite);
