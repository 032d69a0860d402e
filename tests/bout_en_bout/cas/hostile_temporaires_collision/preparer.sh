# The temporary of a nested operation is named "#" and one character taken
# from the number of relations held, modulo 256. R (1 relation), then S whose
# inner union is evaluated into #A (the 2nd relation), S itself (3rd), then
# 254 plain relations: 257 relations. The inner union of T is then named #A
# again, which is taken: the run ends with 200 on T's line, 259.
{
    echo '@relation R: a'
    echo '@data R: 1'
    echo '@let S: (R UNION R) UNION R'
    echo '@print S:'
    for i in $(seq 1 254); do echo "@relation Q$i: a"; done
    echo '@let T: (R UNION R) UNION R'
    echo '@print T:'
} >commandes.vorn
