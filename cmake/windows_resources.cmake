# kelvara_windows_resources(TARGET DESCRIPTION): the manifest, the icon and the version
# resource of one Windows program, filled in from the project.
function(kelvara_windows_resources target description)
    set(dir ${CMAKE_BINARY_DIR}/resources/${target})
    set(KELVARA_EXE ${target})
    set(KELVARA_DESCRIPTION ${description})
    set(KELVARA_VERSION4 ${PROJECT_VERSION}.0)
    set(KELVARA_MANIFEST ${dir}/${target}.manifest)
    set(KELVARA_ICON ${CMAKE_SOURCE_DIR}/packaging/windows/kelvara.ico)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/kelvara.manifest.in ${KELVARA_MANIFEST}
                   @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/kelvara.rc.in ${dir}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${dir}/${target}.rc)
    set_property(SOURCE ${dir}/${target}.rc APPEND PROPERTY OBJECT_DEPENDS
                 ${KELVARA_MANIFEST} ${KELVARA_ICON})
endfunction()
