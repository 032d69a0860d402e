ln -s commandes.vorn lien.vorn
cp commandes.vorn reference.vorn
