# formreel_use_utf8(<executable>): embeds utf8.manifest (beside this file)
# as the executable's application manifest, so that its ANSI code page, its
# command line, its file names and the texts of the form facility are UTF-8
# on Windows 10 1903 and later. The RC language must be enabled.
function(formreel_use_utf8 target)
  if(NOT CMAKE_RC_COMPILER_LOADED)
    message(FATAL_ERROR "formreel_use_utf8(${target}): call enable_language(RC) first")
  endif()
  set(manifest "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/utf8.manifest")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/formreel_utf8.rc")
  # Resource 1 of type 24 (RT_MANIFEST): the manifest the loader reads.
  file(CONFIGURE OUTPUT "${rc}" CONTENT "1 24 \"${manifest}\"\n")
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${manifest}")
  target_sources(${target} PRIVATE "${rc}")
endfunction()
