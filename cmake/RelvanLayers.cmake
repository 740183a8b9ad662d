# relvan_layer(TARGET FOLDER [HEADERS header...])
# Gives a library of src/<FOLDER> an include directory of its own that holds
# only that folder's headers (or only the HEADERS named), as <FOLDER>/name.h.
# FOLDER may be nested (ui/tui): the directory then holds ui/tui and nothing
# else of ui, and a folder's subfolders are never in it, since they are layers
# of their own. A target sees a folder's headers only by linking its library,
# so an include against the layers fails to build. A generated source
# includes every header the library offers, so each is compiled against the
# library's own dependencies.
function(relvan_layer target)
  cmake_parse_arguments(ARG "" "FOLDER" "HEADERS" ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  set(source_dir ${PROJECT_SOURCE_DIR}/src/${ARG_FOLDER})
  if(ARG_HEADERS)
    set(headers ${ARG_HEADERS})
  else()
    # A header added later reaches the directory and the check at the next build.
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${source_dir} ${source_dir}/*.h)
  endif()

  # One link per header, made afresh, so that neither a subfolder nor a
  # header since removed shows through.
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${ARG_FOLDER})
  foreach(header IN LISTS headers)
    file(CREATE_LINK ${source_dir}/${header} ${root}/${ARG_FOLDER}/${header} SYMBOLIC)
  endforeach()

  set(check "")
  foreach(header IN LISTS headers)
    if((WIN32 AND header MATCHES "-posix\\.h$") OR (NOT WIN32 AND header MATCHES "-win32\\.h$"))
      continue()
    endif()
    string(APPEND check "#include \"${ARG_FOLDER}/${header}\"\n")
  endforeach()
  set(check_file ${PROJECT_BINARY_DIR}/layers/${target}-headers.cpp)
  file(CONFIGURE OUTPUT ${check_file} CONTENT "${check}")
  target_sources(${target} PRIVATE ${check_file})
  target_include_directories(${target} PUBLIC ${root})
endfunction()
