mkdir rep
cp donnees.vorn reference.vorn
