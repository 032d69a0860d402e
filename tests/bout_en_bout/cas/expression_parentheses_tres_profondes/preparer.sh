#!/usr/bin/env bash
# Writes donnees.vorn: two statements, then @let S: followed by 100,000
# nested parentheses, one '(' per line from line 4 on.  The stack (state 0,
# programme, @let, S, ':') holds 5 entries before them, so the 9,995th '('
# makes it 10,000 entries: the overflow is reported with line 9,998.
n=100000
{
    printf '@relation R: a\n@data R: 1\n@let S:\n'
    yes '(' | head -n "$n"
    printf 'R\n'
    head -c "$n" /dev/zero | tr '\0' ')'
    printf ' PROJECT a\n'
} >donnees.vorn
