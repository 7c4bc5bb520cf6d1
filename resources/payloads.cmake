# The converter and its library, embedded in the program byte for byte.
