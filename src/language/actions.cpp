#include "language/actions.h"

#include "store/relation.h"

#include <utility>

namespace {

const std::string VIDE;

const std::string& nom(const entree_pile& operande) { return operande.desc->nom_operande; }

// The descriptor of an operation, built from the right-hand side `droite`.
std::unique_ptr<descripteur> decrire(int numero, const entree_pile* droite) {
    switch (numero) {
    case 11: return garnir_struct(OP_NOM, droite[0].texte, VIDE, VIDE, VIDE);
    case 20:
        return garnir_struct(OP_SELECTION_ATTRIBUT, nom(droite[0]), droite[2].texte,
                             droite[3].texte, droite[4].texte);
    case 21:
        return garnir_struct(OP_SELECTION, nom(droite[0]), droite[2].texte, droite[3].texte,
                             droite[5].texte);
    case 22: return garnir_struct(OP_PROJECTION, nom(droite[0]), droite[2].texte, VIDE, VIDE);
    case 23: return garnir_struct(OP_JOINTURE, nom(droite[0]), nom(droite[2]), VIDE, VIDE);
    case 24:
        return garnir_struct(OP_RENOMMAGE, nom(droite[0]), droite[2].texte, droite[4].texte, VIDE);
    case 25: return garnir_struct(OP_UNION, nom(droite[0]), nom(droite[2]), VIDE, VIDE);
    case 26: return garnir_struct(OP_DIFFERENCE, nom(droite[0]), nom(droite[2]), VIDE, VIDE);
    default: return nullptr;
    }
}

} // namespace

void executer_action(int numero, entree_pile* droite) {
    switch (numero) {
    case 9: executer_operation(droite[1].texte, *droite[3].desc); break;
    case 12: executer_operation(nom(droite[0]), *droite[0].desc); break; // $$ = $1
    case 13:                                                             // $$ = $2
        std::swap(droite[0].texte, droite[1].texte);
        droite[0].desc = std::move(droite[1].desc);
        break;
    case 11:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
    case 25:
    case 26: droite[0].desc = decrire(numero, droite); break;
    default: break; // rules passing their first value on
    }
}
