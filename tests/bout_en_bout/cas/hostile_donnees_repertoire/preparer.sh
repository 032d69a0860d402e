# The data file named is a directory: it cannot be read as one, and the
# output file is never created.
mkdir rep
