# What a Linux installation holds: the two programs, the desktop entry and its icons, the
# AppStream metadata, the manual pages, the user manual and the licence.
include(GNUInstallDirs)
install(TARGETS stockquery stockquery-export RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(linux ${CMAKE_SOURCE_DIR}/resources/linux)
install(FILES ${linux}/org.stockquery.stockquery.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${linux}/org.stockquery.stockquery.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 256)
    install(FILES ${linux}/icons/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME stockquery.png)
endforeach()
install(FILES ${linux}/stockquery.1 ${linux}/stockquery-export.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The user manual that 帮助 and F1 open, with its pictures.
install(DIRECTORY ${MANUAL_DIR}/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/manual PATTERN stamp EXCLUDE)
