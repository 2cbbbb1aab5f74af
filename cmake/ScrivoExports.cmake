# scrivo_export_only(TARGET LIST)
#
# Keeps the exports of the shared library TARGET to exactly the names in the file LIST (one per
# line). Hidden visibility alone lets a few C++ library symbols through (unique inline variables in
# unoptimised builds), so a version script is generated from LIST as a build step the library
# depends on: adding or removing a line takes effect on the next build.
function(scrivo_export_only target list)
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    add_custom_command(OUTPUT ${map}
        COMMAND ${CMAKE_COMMAND} -DLIST=${list} -DOUTPUT=${map}
                -P ${PROJECT_SOURCE_DIR}/cmake/WriteVersionScript.cmake
        DEPENDS ${list} ${PROJECT_SOURCE_DIR}/cmake/WriteVersionScript.cmake
        COMMENT "Writing the export list of ${target}")
    add_custom_target(${target}_version_script DEPENDS ${map})
    add_dependencies(${target} ${target}_version_script)
    target_link_options(${target} PRIVATE -Wl,--version-script=${map})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
