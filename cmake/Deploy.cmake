# The deploy folder dist/<processor>/ is laid out as a user installs the toolkit.
# Components register what they ship with kvt_deploy_target() / kvt_deploy_file();
# the 'deploy' target copies it all.

get_property(kvt_deploy_commands GLOBAL PROPERTY KVT_DEPLOY_COMMANDS)
get_property(kvt_deploy_depends GLOBAL PROPERTY KVT_DEPLOY_DEPENDS)
add_custom_target(deploy ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KVT_DIST_DIR}/_Q517_/PlugIn ${KVT_DIST_DIR}/_Q517_/Property
  ${kvt_deploy_commands}
  COMMENT "Laying out ${KVT_DIST_DIR}"
  VERBATIM)
if(kvt_deploy_depends)
  add_dependencies(deploy ${kvt_deploy_depends})
endif()
