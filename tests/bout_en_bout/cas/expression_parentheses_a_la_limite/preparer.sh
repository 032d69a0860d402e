#!/usr/bin/env bash
# Writes commandes.vorn: two statements, then @let S: with n nested
# parentheses around R, the closing ones on line 4.
# The parser stack then holds state 0 and programme; @let, S and ':' bring it
# to 5 entries, the n '(' to n + 5, R (reduced in place) to n + 6 and the
# first ')' to n + 7.  A stack of 10,000 entries overflows, so 9,992 levels
# are the most that fit and 9,993 overflow on the first ')' of line 4.
n=9993
{
    printf '@relation R: a\n@data R: 1\n@let S: '
    head -c "$n" /dev/zero | tr '\0' '('
    printf 'R\n'
    head -c "$n" /dev/zero | tr '\0' ')'
    printf ' PROJECT a\n@print S:\n'
} >commandes.vorn
