mkdir rep
