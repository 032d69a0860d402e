for i in $(seq 1 500); do echo "@data ANCIEN:ligne_$i"; done > sortie.vorn
