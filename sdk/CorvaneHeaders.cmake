# The headers a C++ program needs to use Corvane's exported classes and functions:
# every header of core/ and common/ that declares something exported (CORVANE_API,
# KVT_BLOCKS_API, KVT_FILEPATH_API), and every project header they include, as paths
# relative to the source tree ("core/camera/Property.h"), so the deployed copies keep
# their include lines.
function(kvt_corvane_public_headers out)
  file(GLOB candidates RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/core/*.h ${PROJECT_SOURCE_DIR}/core/*/*.h ${PROJECT_SOURCE_DIR}/common/*.h)
  set(queue "")
  foreach(header ${candidates})
    file(STRINGS ${PROJECT_SOURCE_DIR}/${header} exported
         REGEX "(CORVANE_API|KVT_BLOCKS_API|KVT_FILEPATH_API)")
    if(exported)
      list(APPEND queue ${header})
    endif()
  endforeach()
  set(found "")
  while(queue)
    list(POP_FRONT queue header)
    if(header IN_LIST found)
      continue()
    endif()
    list(APPEND found ${header})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${header})
    file(STRINGS ${PROJECT_SOURCE_DIR}/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*$" "\\1" included "${line}")
      if(EXISTS ${PROJECT_SOURCE_DIR}/${included})
        list(APPEND queue ${included})
      else()
        message(WARNING "${header} includes \"${included}\", which is not a path of the source tree: not deployed")
      endif()
    endforeach()
  endwhile()
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()
