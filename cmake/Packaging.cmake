# What a user installs, from the install rules below and the programs' own: a Debian package on
# Linux, a zip on Windows. `bash scripts/package.sh` builds the target fwup_package_files and
# runs CPack in the linux and windows build trees.
#
# Included last, so that every program's target exists: the console program is packaged when
# its target is there.

set(FWUP_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
# Everything the install rules take that the programs' own targets do not make.
add_custom_target(fwup_package_files ALL)
add_dependencies(fwup_package_files viruzu-fwup)
if(TARGET viruzu-fwup-cli)
  add_dependencies(fwup_package_files viruzu-fwup-cli)
endif()

set(CPACK_PACKAGE_NAME viruzu-fwup)
set(CPACK_PACKAGE_VENDOR Viruzu)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Viruzu <${FWUP_CONTACT_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware upgrade tool for Viruzu TQ3800HKS/HKR printers")
set(CPACK_PACKAGE_HOMEPAGE_URL ${FWUP_HOMEPAGE_URL})
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
  # The console program carries the same version resource as the window program.
  if(TARGET viruzu-fwup-cli)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/version.h.in
                   ${FWUP_PACKAGING_DIR}/fwup_version.h @ONLY)
    set(cli_rc ${PROJECT_SOURCE_DIR}/resources/windows/viruzu-fwup-cli.rc)
    set_source_files_properties(${cli_rc} PROPERTIES OBJECT_DEPENDS
      "${PROJECT_SOURCE_DIR}/resources/windows/version_info.rc;${FWUP_PACKAGING_DIR}/fwup_version.h")
    target_sources(viruzu-fwup-cli PRIVATE ${cli_rc})
    target_include_directories(viruzu-fwup-cli PRIVATE
      ${PROJECT_SOURCE_DIR}/resources/windows ${FWUP_PACKAGING_DIR})
    install(TARGETS viruzu-fwup-cli RUNTIME DESTINATION .)
  endif()
  install(TARGETS viruzu-fwup RUNTIME DESTINATION .)

  # Text files in the zip get Windows line ends, so that every editor shows them as lines.
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/resources/windows/how-to-run.txt)
  file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
  string(REPLACE "\n" "\r\n" readme "${readme}")
  file(WRITE ${FWUP_PACKAGING_DIR}/README.txt "${readme}")
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/how-to-run.txt
                 ${FWUP_PACKAGING_DIR}/HOW-TO-RUN.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${FWUP_PACKAGING_DIR}/README.txt ${FWUP_PACKAGING_DIR}/HOW-TO-RUN.txt
          DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME viruzu-fwup-${PROJECT_VERSION}-windows-x64)
  # The zip unpacks into a folder of that name, not loose into the user's Downloads.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  include(GNUInstallDirs)
  set(linux_resources ${PROJECT_SOURCE_DIR}/resources/linux)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/viruzu-fwup)

  # The console program installs itself (src/app/cli).
  if(TARGET viruzu-fwup-cli)
    set(FWUP_METAINFO_CLI_BINARY "\n    <binary>viruzu-fwup-cli</binary>")
  else()
    set(FWUP_METAINFO_CLI_BINARY "")
  endif()
  configure_file(${linux_resources}/com.viruzu.fwup.metainfo.xml.in
                 ${FWUP_PACKAGING_DIR}/com.viruzu.fwup.metainfo.xml @ONLY)
  install(FILES ${FWUP_PACKAGING_DIR}/com.viruzu.fwup.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # Man pages: the window program's is written (it has no options to read help from); the
  # console program's comes from its own --help and --version, so it never falls behind them.
  set(gzip_command gzip -9 -n -c)
  set(man_pages ${FWUP_PACKAGING_DIR}/viruzu-fwup.1.gz)
  add_custom_command(OUTPUT ${FWUP_PACKAGING_DIR}/viruzu-fwup.1.gz
    COMMAND ${gzip_command} ${linux_resources}/viruzu-fwup.1 > viruzu-fwup.1.gz
    DEPENDS ${linux_resources}/viruzu-fwup.1
    WORKING_DIRECTORY ${FWUP_PACKAGING_DIR} VERBATIM)
  if(TARGET viruzu-fwup-cli)
    find_program(FWUP_HELP2MAN help2man REQUIRED)
    add_custom_command(OUTPUT ${FWUP_PACKAGING_DIR}/viruzu-fwup-cli.1.gz
      # help2man dates the page with the month it runs in; the commit's month instead, so
      # that two builds of one commit write the same page.
      COMMAND sh -c "SOURCE_DATE_EPOCH=\${SOURCE_DATE_EPOCH:-\$(git -C \"\$0\" log -1 --format=%ct 2>/dev/null || echo 0)} exec \"\$@\""
              ${PROJECT_SOURCE_DIR}
              ${FWUP_HELP2MAN} --no-info --no-discard-stderr
              "--name=upgrade the firmware of a Viruzu TQ3800HKS/HKR printer (console)"
              --output=viruzu-fwup-cli.1 $<TARGET_FILE:viruzu-fwup-cli>
      COMMAND ${gzip_command} viruzu-fwup-cli.1 > viruzu-fwup-cli.1.gz
      DEPENDS viruzu-fwup-cli
      WORKING_DIRECTORY ${FWUP_PACKAGING_DIR} VERBATIM)
    list(APPEND man_pages ${FWUP_PACKAGING_DIR}/viruzu-fwup-cli.1.gz)
  endif()
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  configure_file(${linux_resources}/debian/changelog.in ${FWUP_PACKAGING_DIR}/changelog @ONLY)
  configure_file(${linux_resources}/debian/copyright ${FWUP_PACKAGING_DIR}/copyright @ONLY)
  add_custom_command(OUTPUT ${FWUP_PACKAGING_DIR}/changelog.gz
    COMMAND ${gzip_command} changelog > changelog.gz
    DEPENDS ${FWUP_PACKAGING_DIR}/changelog
    WORKING_DIRECTORY ${FWUP_PACKAGING_DIR} VERBATIM)
  install(FILES ${FWUP_PACKAGING_DIR}/changelog.gz ${FWUP_PACKAGING_DIR}/copyright
          DESTINATION ${doc_dir})

  add_custom_target(fwup_package_docs DEPENDS ${man_pages} ${FWUP_PACKAGING_DIR}/changelog.gz)
  add_dependencies(fwup_package_files fwup_package_docs)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Viruzu <${FWUP_CONTACT_EMAIL}>")
  # CPack puts the summary above this as the synopsis line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Finds the Viruzu TQ3800HKS and TQ3800HKR printers attached by USB, checks
that the chosen one is ready, and sends it the firmware carried inside the
program, with a window (viruzu-fwup) or from a terminal (viruzu-fwup-cli).
A udev rule lets the user at the seat reach the printers without root.")
  # Dependencies come from the binaries, not from a hand-kept list.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Faces for every script of the window's languages: DejaVu for Latin, Greek, Cyrillic, Hebrew and
  # Arabic, Liberation for the Times New Roman the European tables name, and a CJK face with the
  # Japanese, Korean and both Chinese forms (the small WenQuanYi face will do where Noto's is too big).
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
      "fonts-dejavu-core, fonts-liberation, fonts-noto-cjk | fonts-wqy-microhei")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
      ${linux_resources}/debian/postinst ${linux_resources}/debian/postrm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
