[ ! -e autre.vorn ]
