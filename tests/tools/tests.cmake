# The generator's tests link its core and the viewers' reader, which must
# read what the generator writes.
if(TARGET orbgen_physics_test)
  target_link_libraries(orbgen_physics_test PRIVATE orbgencore orbelements)
endif()
