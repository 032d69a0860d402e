# Right operands nested 5,000 deep, one "R JOIN (" per line from line 4 on.
# Nothing is evaluated before the innermost operand closes, so the parser's
# stack grows by three entries a level: the five entries of
# "programme @let S :", then R, JOIN and "(" for each level. The JOIN of
# level 3,332 (line 3,335) fills the 10,000th entry. The reading of the data
# file ends there; the command file is still read.
{
    printf '@relation R: a\n@data R: 1\n@let S:\n'
    yes 'R JOIN (' | head -n 5000
    printf 'R\n'
    head -c 5000 /dev/zero | tr '\0' ')'
    printf '\n'
} >donnees.vorn
