#include "language/actions.h"

#include "store/relation.h"

namespace {

const std::string VIDE;

entree_pile avec_descripteur(std::unique_ptr<descripteur> d) {
    entree_pile valeur;
    valeur.desc = std::move(d);
    return valeur;
}

// An operation of two operands: the left one's and the right one's names.
entree_pile operation_binaire(int32_t type, entree_pile* droite) {
    return avec_descripteur(garnir_struct(type, droite[0].desc->nom_operande,
                                          droite[2].desc->nom_operande, VIDE, VIDE));
}

} // namespace

entree_pile executer_action(int numero, entree_pile* droite) {
    switch (numero) {
    case 7: creer_relation(droite[1].texte, droite[3].texte); return {};
    case 8: ajouter_tuple(droite[1].texte, droite[3].texte); return {};
    case 9: executer_operation(droite[1].texte, *droite[3].desc); return {};
    case 10: afficher_relation(droite[1].texte); return {};
    case 11: return avec_descripteur(garnir_struct(OP_NOM, droite[0].texte, VIDE, VIDE, VIDE));
    case 12:
        executer_operation(droite[0].desc->nom_operande, *droite[0].desc);
        return std::move(droite[0]);
    case 13: return std::move(droite[1]);
    case 20:
        return avec_descripteur(garnir_struct(OP_SELECTION_ATTRIBUT, droite[0].desc->nom_operande,
                                              droite[2].texte, droite[3].texte, droite[4].texte));
    case 21:
        return avec_descripteur(garnir_struct(OP_SELECTION, droite[0].desc->nom_operande,
                                              droite[2].texte, droite[3].texte, droite[5].texte));
    case 22:
        return avec_descripteur(
            garnir_struct(OP_PROJECTION, droite[0].desc->nom_operande, droite[2].texte, VIDE, VIDE));
    case 23: return operation_binaire(OP_JOINTURE, droite);
    case 24:
        return avec_descripteur(garnir_struct(OP_RENOMMAGE, droite[0].desc->nom_operande,
                                              droite[2].texte, droite[4].texte, VIDE));
    case 25: return operation_binaire(OP_UNION, droite);
    case 26: return operation_binaire(OP_DIFFERENCE, droite);
    default: return std::move(droite[0]); // rules passing their first value on
    }
}
