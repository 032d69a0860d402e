{ echo '@relation R: v'; yes '@data R: x' | head -n 199999;
  echo '@relation S: n,m'; for t in 1 2; do for i in $(seq 70 -1 1); do echo "@data S: $i,m$((i % 7))"; done; done; echo '@print S:'; } > commandes.vorn
