{
    echo '@relation R: a,b'
    echo '@data R: 1,x'
    echo '@data R: 1,x'
    echo '@data R: 2,x'
    echo '@print R:'
    echo '@data R: 2,x'
    echo '@data R: 3,y'
    echo '@print R:'
    echo '@relation G: n'
    for i in $(seq 1 501); do echo "@data G: $i"; done
    echo '@data G: 7'
} >commandes.vorn
