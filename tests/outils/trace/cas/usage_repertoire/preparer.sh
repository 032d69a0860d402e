mkdir dossier
