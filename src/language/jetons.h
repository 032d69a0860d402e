// Token codes shared by the scanner and the parser. A one-character token
// that no rule names is returned as its own byte code (1 to 127).
#pragma once

enum jeton : int {
    FIN_ENTREE = 0,
    IDENT = 258,
    LISTE = 259,
    OPERATEUR = 260,
    AT_RELATION = 261,
    AT_DATA = 262,
    AT_LET = 263,
    AT_PRINT = 264,
    WHERE = 265,
    PROJECT = 266,
    JOIN = 267,
    UNION = 268,
    MINUS = 269,
    RENAME = 270,
    AS = 271,
    // A NUL byte or a byte 0x80 to 0xFF: a token of its own that no rule
    // accepts, so that it is reported as a syntax error instead of being
    // mistaken for the end of the file.
    OCTET_INVALIDE = 272,
};

inline constexpr int GUILLEMET = '"';
