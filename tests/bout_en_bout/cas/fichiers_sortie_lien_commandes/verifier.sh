cmp commandes.vorn reference.vorn
[ -L lien.vorn ]
