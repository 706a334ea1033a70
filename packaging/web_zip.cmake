# The web zip: metaballs-<version>-web.zip holds one folder that is a static site, the page
# (index.html) with its .js and .wasm beside splash.cfg, the two launcher bitmaps, data/ and the
# fonts the page draws text with, so that any web server can serve the unzipped folder.
set(VARKO_PAGE_DIR $<TARGET_FILE_DIR:metaballs>)
install(FILES ${VARKO_PAGE_DIR}/metaballs.html DESTINATION . RENAME index.html)
install(FILES ${VARKO_PAGE_DIR}/metaballs.js ${VARKO_PAGE_DIR}/metaballs.wasm DESTINATION .)
install(FILES ${VARKO_ROOT}/splash.cfg ${VARKO_ROOT}/launcher.bmp ${VARKO_ROOT}/launcher_pressed.bmp
    DESTINATION .)
install(DIRECTORY ${VARKO_ROOT}/data DESTINATION .)
install(DIRECTORY ${VARKO_PAGE_DIR}/fonts DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME metaballs)
set(CPACK_PACKAGE_FILE_NAME metaballs-${PROJECT_VERSION}-web)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
