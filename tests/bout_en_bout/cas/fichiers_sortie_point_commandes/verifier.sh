cmp commandes.vorn reference.vorn
