# With no time, the data file is written back whole, one statement a line.
[ "$(grep -c '^@data' ce.vorn)" = 200 ] && [ "$(wc -l <ce.vorn)" = 203 ] && cmp -s ce.vorn donnees.vorn
