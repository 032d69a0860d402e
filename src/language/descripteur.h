// Operation descriptors: what the parser hands to the relational operators.
// A descriptor names its operands by relation name only; a nested operation
// has been evaluated into a temporary relation first.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

enum type_operation : int32_t {
    OP_NOM = 0,
    OP_SELECTION = 1,
    OP_PROJECTION = 2,
    OP_JOINTURE = 3,
    OP_RENOMMAGE = 4,
    OP_UNION = 5,
    OP_DIFFERENCE = 6,
    OP_SELECTION_ATTRIBUT = 7,
};

struct descripteur {
    int32_t type_op = OP_NOM;
    std::string nom_operande; // where the operand's value is: a relation or a temporary
    std::string source;
    std::string param1;
    std::string param2;
    std::string param3;
};

// "#" and the character (n + 64) mod 256, n being the low 8 bits of
// `nb_relations`; a NUL character ends the name, leaving "#" alone.
std::string nom_temporaire(int32_t nb_relations);

// A new descriptor of type `type_op` with its temporary name (or, for OP_NOM,
// the relation's own name) and copies of the four texts.
std::unique_ptr<descripteur> garnir_struct(int32_t type_op, const std::string& source,
                                           const std::string& param1, const std::string& param2,
                                           const std::string& param3);

// Evaluates the operation of `d` into a new relation named `nom_resultat`.
void executer_operation(const std::string& nom_resultat, const descripteur& d);
