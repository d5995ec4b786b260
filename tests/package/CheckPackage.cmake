# Makes the release ZIP from the x86 build folder and checks what a user finds in it: the
# files and nothing else, the user's README (not the developers'), text files with CR LF line
# ends, one spelling of the version and of Winamp's menu path, and programs and DLLs without
# debug sections whose export and import tables still pass the build's check.
#   cmake -DCPACK=cpack -DX86_BUILD=build/x86 -DOBJDUMP=<objdump> -DVERSION_TEXT=1.03
#         -DVERSION=1.0.3 -DSOURCE_DIR=<project> -DWORK_DIR=<scratch> -P CheckPackage.cmake
if(NOT EXISTS "${X86_BUILD}/CPackConfig.cmake")
  message(FATAL_ERROR "${X86_BUILD} is not configured: build the x86 preset first (scripts/test does)")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${CPACK} --config "${X86_BUILD}/CPackConfig.cmake" -B "${WORK_DIR}/out"
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
set(zip "${WORK_DIR}/out/Glowmeter-${VERSION_TEXT}-win.zip")
if(NOT rc EQUAL 0 OR NOT EXISTS "${zip}")
  message(FATAL_ERROR "cpack did not make ${zip}:\n${out}")
endif()
file(MAKE_DIRECTORY "${WORK_DIR}/unpacked")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${zip}" WORKING_DIRECTORY "${WORK_DIR}/unpacked" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${zip} could not be unpacked")
endif()
set(top "${WORK_DIR}/unpacked/Glowmeter-${VERSION_TEXT}-win")

file(GLOB_RECURSE found RELATIVE "${top}" "${top}/*")
list(SORT found)
set(expected README.txt try-glowmeter.cmd glowmeter-demo.wav docs/settings-dialog.png
    simulated-nvidia-driver/README.txt simulated-nvidia-driver/x64/nvapi64.dll simulated-nvidia-driver/x86/nvapi.dll)
foreach(arch x86 x64)
  list(APPEND expected ${arch}/vis_glowmeter.dll ${arch}/vis_glowmeter.ini ${arch}/glowmeter-host.exe
       ${arch}/glowmeter-monitor.exe)
endforeach()
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "${zip} holds\n  ${found}\ninstead of\n  ${expected}")
endif()

set(problems "")
foreach(text README.txt try-glowmeter.cmd simulated-nvidia-driver/README.txt x86/vis_glowmeter.ini x64/vis_glowmeter.ini)
  # Byte by byte, as hexadecimal: a text read gives no CR.
  file(READ "${top}/${text}" bytes HEX)
  string(REGEX REPLACE "(..)" " \\1" bytes "${bytes}")
  string(REPLACE " 0d 0a" "" bytes "${bytes}")
  string(FIND "${bytes}" " 0a" bare_line_end)
  file(READ "${top}/${text}" content)
  if(NOT bare_line_end EQUAL -1)
    string(APPEND problems "${text} has a line that does not end with CR LF\n")
  endif()
  string(FIND "${content}" "${VERSION}" numeric)
  if(NOT numeric EQUAL -1)
    string(APPEND problems "${text} spells the version ${VERSION}, not ${VERSION_TEXT}\n")
  endif()
  if(content MATCHES "Preferences > Visualization")
    string(APPEND problems "${text} gives Winamp's menu path otherwise than Options > Preferences > Plug-ins > Visualization\n")
  endif()
endforeach()
file(READ "${top}/README.txt" readme)
foreach(wanted "Glowmeter-${VERSION_TEXT}-setup.exe" "Options > Preferences > Plug-ins > Visualization"
               "\"Glowmeter v${VERSION_TEXT}\"" "try-glowmeter.cmd" "x64\\glowmeter-host.exe glowmeter-demo.wav")
  string(FIND "${readme}" "${wanted}" at)
  if(at EQUAL -1)
    string(APPEND problems "README.txt does not say ${wanted}\n")
  endif()
endforeach()
# The user's README names nothing a user of the ZIP does not have.
foreach(unwanted "scripts/" ".cpp" "cmake" "Linux")
  string(FIND "${readme}" "${unwanted}" at)
  if(NOT at EQUAL -1)
    string(APPEND problems "README.txt names ${unwanted}\n")
  endif()
endforeach()

foreach(program x86/vis_glowmeter.dll x64/vis_glowmeter.dll x86/glowmeter-host.exe x64/glowmeter-host.exe
                x86/glowmeter-monitor.exe x64/glowmeter-monitor.exe simulated-nvidia-driver/x86/nvapi.dll
                simulated-nvidia-driver/x64/nvapi64.dll)
  execute_process(COMMAND ${OBJDUMP} -h "${top}/${program}" OUTPUT_VARIABLE sections RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(APPEND problems "objdump cannot read ${program}\n")
  elseif(sections MATCHES "\\.debug")
    string(APPEND problems "${program} carries debug sections\n")
  endif()
endforeach()
foreach(plugin x86/vis_glowmeter.dll x64/vis_glowmeter.dll)
  execute_process(COMMAND ${CMAKE_COMMAND} -DPE_FILE=${top}/${plugin} -DOBJDUMP=${OBJDUMP}
                          -P "${SOURCE_DIR}/cmake/CheckPeTables.cmake"
                  OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    string(APPEND problems "${plugin}: ${out}\n")
  endif()
endforeach()

if(problems)
  message(FATAL_ERROR "${zip}:\n${problems}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "${zip}: ${found}")
