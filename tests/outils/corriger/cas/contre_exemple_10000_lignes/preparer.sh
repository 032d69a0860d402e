# 10^4 employees over 4 towns, written here rather than kept in the folder.
awk 'BEGIN {
    split("lyon paris rome nice", villes, " ")
    print "@relation EMP: personne,ville,age"
    for (i = 0; i < 9996; i++) printf "@data EMP: p%d,%s,%d\n", i, villes[i % 4 + 1], 18 + i % 53
    print "@relation VILLES: ville,pays"
    print "@data VILLES: lyon,fr"; print "@data VILLES: paris,fr"
    print "@data VILLES: rome,it"; print "@data VILLES: nice,fr"
}' >donnees.vorn
