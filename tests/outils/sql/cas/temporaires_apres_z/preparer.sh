# Temporaries named from the count of relations held: at 100 relations a byte
# outside ASCII, at 226 a double quote.
{
    for i in $(seq 1 100); do echo "@relation R$i: a"; done
    echo '@data R1: 1'
    echo '@let Y: (R1 WHERE a = "1") UNION R1'
    for i in $(seq 101 224); do echo "@relation R$i: a"; done
    echo '@let X: (R1 WHERE a = "1") UNION R1'
    echo '@print Y:'
    echo '@print X:'
} >commandes.vorn
