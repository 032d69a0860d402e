{ echo '@relation R: v'; head -c 200000 /dev/zero | tr '\0' '\n'; echo '@data S: 1'; } > commandes.vorn
