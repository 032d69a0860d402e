ln commandes.vorn dur.vorn
cp commandes.vorn reference.vorn
