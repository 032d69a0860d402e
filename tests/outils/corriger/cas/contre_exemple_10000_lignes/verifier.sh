# The answer keeps Lyon and Paris without looking at VILLES: one row of
# either town, with no town at all, is the whole counter-example.
[ "$(grep -c '^@data' ce.vorn)" = 1 ] && grep -q '^@data EMP: p[0-9]*,\(lyon\|paris\),' ce.vorn &&
    [ "$(grep -c '^@relation' ce.vorn)" = 2 ]
