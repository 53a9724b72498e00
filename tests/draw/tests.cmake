# The edition test runs the earlier library state: it links that edition's
# object ahead of the archive, as the programs of that state do.
target_sources(colour_edition_test PRIVATE $<TARGET_OBJECTS:korvan_edition81>)
