# sqlite3 runs the script and lists both relations.
test "$(sqlite3 :memory: <obtenu.stdout)" = "$(printf '1\n1')"
