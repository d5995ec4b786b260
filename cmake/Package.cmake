# Release package: a ZIP made by CPack (`cmake --build build/x86 --target package`, or
# scripts/package, which builds both architectures first). Packaged from the x86 build, the
# plug-in Winamp loads, with the artefacts of the x64 build folder beside it:
#   README.txt (the user's README), try-glowmeter.cmd (plays the demo track), glowmeter-demo.wav,
#   docs/settings-dialog.png (the README's picture; the developers' docs stay in the source)
#   x86/  vis_glowmeter.dll for Winamp's Plugins folder with the commented sample settings
#         vis_glowmeter.ini beside it, glowmeter-host, glowmeter-monitor
#   x64/  the same for 64-bit hosts
#   simulated-nvidia-driver/  the stand-in driver for trying the tools without an NVIDIA
#         board, kept apart under its own name and README: it bears the real driver's file
#         name, belongs only in the system folder of a Wine prefix or of a test machine
#         without an NVIDIA driver, and never over a real driver's file.
# The text files come from dist/, which git checks out with Windows line ends
# (.gitattributes); the programs and DLLs are release builds, linked without debug sections.

set(GLOWMETER_ARCH_FILES $<TARGET_FILE:vis_glowmeter> $<TARGET_FILE:glowmeter-host>)
set(GLOWMETER_OTHER_FILES vis_glowmeter.dll glowmeter-host.exe)
if(TARGET glowmeter-monitor)
  list(APPEND GLOWMETER_ARCH_FILES $<TARGET_FILE:glowmeter-monitor>)
  list(APPEND GLOWMETER_OTHER_FILES glowmeter-monitor.exe)
endif()
list(TRANSFORM GLOWMETER_OTHER_FILES PREPEND "${GLOWMETER_PACKAGE_OTHER_BUILD}/")
set(GLOWMETER_OTHER_DRIVER
    "${GLOWMETER_PACKAGE_OTHER_BUILD}/${GLOWMETER_SIM_DRIVER_FOLDER}/${GLOWMETER_OTHER_NVAPI_NAME}.dll")

install(FILES ${GLOWMETER_ARCH_FILES} dist/vis_glowmeter.ini DESTINATION ${GLOWMETER_ARCH})
install(CODE "
  foreach(file IN ITEMS ${GLOWMETER_OTHER_FILES} ${GLOWMETER_OTHER_DRIVER})
    if(NOT EXISTS \"\${file}\")
      message(FATAL_ERROR \"The package needs \${file}: build the ${GLOWMETER_OTHER_ARCH} preset first \"
                          \"(cmake --preset ${GLOWMETER_OTHER_ARCH} && cmake --build --preset ${GLOWMETER_OTHER_ARCH}), \"
                          \"or set GLOWMETER_PACKAGE_OTHER_BUILD to its build folder.\")
    endif()
  endforeach()")
install(FILES ${GLOWMETER_OTHER_FILES} dist/vis_glowmeter.ini DESTINATION ${GLOWMETER_OTHER_ARCH})
install(FILES $<TARGET_FILE:nvapi_sim> DESTINATION simulated-nvidia-driver/${GLOWMETER_ARCH})
install(FILES ${GLOWMETER_OTHER_DRIVER} DESTINATION simulated-nvidia-driver/${GLOWMETER_OTHER_ARCH})
install(FILES dist/simulated-nvidia-driver.txt DESTINATION simulated-nvidia-driver RENAME README.txt)
install(FILES dist/README.txt dist/try-glowmeter.cmd DESTINATION .)
if(TARGET demo_track)
  install(FILES ${CMAKE_BINARY_DIR}/glowmeter-demo.wav DESTINATION .)
endif()
install(FILES docs/settings-dialog.png DESTINATION docs)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Glowmeter)
set(CPACK_PACKAGE_VENDOR Glowmeter)
set(CPACK_PACKAGE_VERSION ${GLOWMETER_VERSION_TEXT})
set(CPACK_PACKAGE_FILE_NAME Glowmeter-${GLOWMETER_VERSION_TEXT}-win)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
