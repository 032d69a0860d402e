cmp donnees.vorn reference.vorn
