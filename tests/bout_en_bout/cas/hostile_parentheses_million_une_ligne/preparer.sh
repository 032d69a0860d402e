# A million opening parentheses on one line: the parser's stack is full at
# the 9,995th (five entries for "programme @let S :" before them), on line 4.
# The statements before it have taken effect, none after it.
{
    printf '@relation R: a\n@data R: 1\n@print R:\n@let S: '
    head -c 1000000 /dev/zero | tr '\0' '('
    printf 'R'
    head -c 1000000 /dev/zero | tr '\0' ')'
    printf ' PROJECT a\n@print S:\n'
} >commandes.vorn
