# Masks the ADRESSE column of the summary on standard output: the number
# between the 20-character name and the COL count (5 blanks, 1 to 8), at
# least one blank and then at most 9 digits, which depends on where the
# records were allocated.
/^\t NOM\t/,$ s/^(.{20}) +[0-9]{1,9}(     [1-8] *[0-9]+ *[0-9]+)$/\1@ADRESSE@@\2/
