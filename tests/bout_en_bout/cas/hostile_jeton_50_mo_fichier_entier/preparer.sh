# A command file that is one list token of 50 MB (a,a,...,a then a comma),
# with no line end: the token is read whole, then refused as the start of a
# statement.
yes 'a,' | head -n 26214400 | tr -d '\n' >commandes.vorn
