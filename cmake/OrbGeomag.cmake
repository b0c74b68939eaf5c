# The geomagnetic model files (NAME.wmm, NAME.wmm.cof) are generated at build
# time from the published coefficients in resources/geomag by the project's
# own converter, into <build>/geomag, and installed to share/orb/geomag beside
# the programs in bin/. The program always passes this folder to the model.
add_executable(orb-geomag-convert ${PROJECT_SOURCE_DIR}/tools/geomag/geomag_convert.cpp)

set(ORB_GEOMAG_BUILD_DIR ${PROJECT_BINARY_DIR}/geomag)
set(orb_geomag_outputs)
foreach(model "wmm;WMM2025.COF;wmm2025" "igrf;igrf14coeffs.txt;igrf14")
  list(GET model 0 kind)
  list(GET model 1 input)
  list(GET model 2 name)
  set(out ${ORB_GEOMAG_BUILD_DIR}/${name}.wmm ${ORB_GEOMAG_BUILD_DIR}/${name}.wmm.cof)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORB_GEOMAG_BUILD_DIR}
    COMMAND orb-geomag-convert ${kind} ${PROJECT_SOURCE_DIR}/resources/geomag/${input} ${ORB_GEOMAG_BUILD_DIR} ${name}
    DEPENDS orb-geomag-convert ${PROJECT_SOURCE_DIR}/resources/geomag/${input}
    COMMENT "Geomagnetic model ${name}")
  list(APPEND orb_geomag_outputs ${out})
endforeach()
add_custom_target(orb_geomag_models ALL DEPENDS ${orb_geomag_outputs})

include(GNUInstallDirs)
install(FILES ${orb_geomag_outputs} ${PROJECT_SOURCE_DIR}/resources/geomag/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/orb/geomag)

# Used by src/geo: the generated models come with the library, and the build
# folder is the last place it looks.
function(orb_use_geomag_models target)
  add_dependencies(${target} orb_geomag_models)
  target_compile_definitions(${target} PRIVATE ORB_GEOMAG_DIR="${ORB_GEOMAG_BUILD_DIR}")
endfunction()
