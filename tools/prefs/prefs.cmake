# The generator of the default Preferences file and textures/ground.bmp.
# The build runs it into the top of the build tree, where the editor finds
# the defaults when it runs from there; both are installed in
# share/wirestead, where the installed programs look for them.
include(GNUInstallDirs)

set(ws_prefs_lib_srcs ${prefs_srcs})
list(FILTER ws_prefs_lib_srcs EXCLUDE REGEX ".*/main\\.cpp$")
add_library(ws_prefs_content STATIC ${ws_prefs_lib_srcs})
target_include_directories(ws_prefs_content PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ws_prefs_content PUBLIC ws_model)

add_executable(wirestead-prefs-gen ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(wirestead-prefs-gen PRIVATE ws_prefs_content)

set(WS_DEFAULT_PREFERENCES ${PROJECT_BINARY_DIR}/Preferences)
set(WS_GROUND_TEXTURE ${PROJECT_BINARY_DIR}/textures/ground.bmp)
add_custom_command(
  OUTPUT ${WS_DEFAULT_PREFERENCES} ${WS_GROUND_TEXTURE}
  COMMAND wirestead-prefs-gen ${PROJECT_BINARY_DIR}
  DEPENDS wirestead-prefs-gen
  COMMENT "Generating the default Preferences file and textures/ground.bmp"
  VERBATIM)
add_custom_target(wirestead-prefs ALL DEPENDS ${WS_DEFAULT_PREFERENCES} ${WS_GROUND_TEXTURE})

install(FILES ${WS_DEFAULT_PREFERENCES} DESTINATION ${CMAKE_INSTALL_DATADIR}/wirestead)
install(FILES ${WS_GROUND_TEXTURE} DESTINATION ${CMAKE_INSTALL_DATADIR}/wirestead/textures)

# The tool tests read the generated file and run the generator themselves;
# their folder is added after this one, so wire them up once the whole
# project has been read.
function(ws_prefs_wire_tests)
  if(TARGET ws_tools_tests)
    add_dependencies(ws_tools_tests wirestead-prefs)
    target_compile_definitions(ws_tools_tests PRIVATE
      WS_PREFS_GEN_PATH="$<TARGET_FILE:wirestead-prefs-gen>")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL ws_prefs_wire_tests)
