# Every byte value after complete statements: in the data file from 0 to 255,
# in the command file from 255 down to 0. The first of them (NUL in the data
# file, 0xFF in the command file) is a token of its own that no statement
# accepts: each file's reading ends there with a syntax error.
octets() { for i in "$@"; do printf "\\$(printf '%03o' "$i")"; done; }
{ printf '@relation R: a\n@data R: 1\n'; octets $(seq 0 255); } >donnees.vorn
{ printf '@print R:\n'; octets $(seq 255 -1 0); } >commandes.vorn
