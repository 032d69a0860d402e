cp commandes.vorn reference.vorn
