# More than 256 relations, with temporaries whose names go round the whole
# cycle without meeting an earlier one: with 191 relations held the first
# temporary of S is "#" and the byte 0xFF, with 192 it is "#" alone; past 256
# relations the names start again at "#@", and the join nested in U is
# evaluated into "#B", after its product "##B".
{
    echo '@relation R: a'
    echo '@data R: 1'
    for i in $(seq 1 190); do echo "@relation Q$i: a"; done
    echo '@let S: ((R UNION R) UNION R) UNION R'
    for i in $(seq 191 252); do echo "@relation Q$i: a"; done
    echo '@let T: (R UNION R) UNION R'
    echo '@let U: (R JOIN R) UNION R'
    echo '@print S:'
    echo '@print T:'
    echo '@print U:'
} >commandes.vorn
