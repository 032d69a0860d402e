{ echo '@relation R: v'; printf '@data R: '; head -c 300000 /dev/zero | tr '\0' a; echo; echo '@data R: b'; } > commandes.vorn
