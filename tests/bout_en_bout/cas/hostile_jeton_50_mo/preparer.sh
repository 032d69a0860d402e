# A relation name of 50 MB in a listing statement: the scanner holds the whole
# token, and the name is looked up whole, so no relation matches it.
{
    printf '@relation R: v\n@data R: 1\n@print '
    head -c 52428800 /dev/zero | tr '\0' n
    printf ':\n@print R:\n'
} >commandes.vorn
