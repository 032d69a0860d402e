# With 192 relations held, a temporary is named "#" alone (the character
# 192 + 64 is the byte 0, which ends the name). In S the join nested in the
# union is evaluated under that name: its product is named "##". With 227
# relations held, the temporary of T is "#" and the character 227 + 64 - 256,
# which is "#" again: "##" is taken by the product, and T ends with 200.
{
    echo '@relation R: a'
    echo '@data R: 1'
    for i in $(seq 1 190); do echo "@relation Q$i: a"; done
    # 191 relations held: the inner union makes "#" and the byte 0xFF (the
    # 192nd relation), the join its product "##" (193rd) and "#" (194th).
    echo '@let S: ((R UNION R) JOIN R) UNION R'
    for i in $(seq 191 222); do echo "@relation Q$i: a"; done
    echo '@print S:'
    echo '@let T: (R UNION R) UNION R'
} >commandes.vorn
