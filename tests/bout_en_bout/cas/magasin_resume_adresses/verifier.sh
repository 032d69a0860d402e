# The ADRESSE column as printed, before any masking: ten columns that begin
# with a blank (so that even a 20-character name stands apart from it) and
# hold a non-negative number of at most 9 digits, a different one for each
# relation of the run.
set -uo pipefail
awk '
    entete { n++; champ = substr($0, 21, 10)
             if (champ !~ /^ +[0-9]+$/ || length(champ) != 10) { print "ADRESSE " n ": [" champ "]"; e = 1 }
             if (champ in vus) { print "ADRESSE " n " repeated: " champ; e = 1 }
             vus[champ] = 1 }
    /^\t NOM\t/ { entete = 1 }
    END { if (n != 46) { print n " summary lines, 46 expected"; e = 1 }; exit e }
' obtenu.stdout
