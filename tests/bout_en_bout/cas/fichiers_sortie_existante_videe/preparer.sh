echo ancien contenu > sortie.vorn
