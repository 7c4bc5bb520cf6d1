# The Samples folder beside the program.
