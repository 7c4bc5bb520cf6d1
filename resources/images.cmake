# Program icon, pointer images and the optional skin.
