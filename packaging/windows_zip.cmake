# The Windows zip: metaballs-<version>-win64.zip holds one folder that is a run directory, the
# program beside splash.cfg, the two launcher bitmaps and data/, so that unzipping it and starting
# the .exe runs the demo.
install(TARGETS metaballs RUNTIME DESTINATION .)
install(FILES ${VARKO_ROOT}/splash.cfg ${VARKO_ROOT}/launcher.bmp ${VARKO_ROOT}/launcher_pressed.bmp
    DESTINATION .)
install(DIRECTORY ${VARKO_ROOT}/data DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME metaballs)
set(CPACK_PACKAGE_FILE_NAME metaballs-${PROJECT_VERSION}-win64)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
