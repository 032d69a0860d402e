[ ! -e absent ]
