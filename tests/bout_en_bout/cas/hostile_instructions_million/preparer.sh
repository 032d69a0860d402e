# A million statements, one per line: a declaration, 999,997 rows of which
# every value of `a` comes twice (the second time retired as a repeat), a
# selection that meets one live and one retired row, and its listing.
{
    echo '@relation R: a,b'
    seq 0 999996 | awk '{ print "@data R: " ($1 % 500000) "," ($1 % 2) }'
    echo '@let S: R WHERE a = "4242"'
    echo '@print S:'
} >commandes.vorn
