# The folders of the plug-in's code and the folders each builds on, lowest first. A folder's
# code includes headers of its own folder and of the folders it builds on, never of one above
# it, nor of tools/ or tests/. CheckIncludes.cmake holds every file to this at build time.
#   sdk/       the host's published records (winampVisModule, winampVisHeader)
#   support/   CSTR, INIFILE, CCS and small helpers
#   client/    the WinSock loader and the diagnostic client CLUMOCLI
#   settings/  the settings record and the settings file
#   gpu/       NVAPI, the GPU access object CNVGF, opening, naming and scanning for lights
#   dialog/    the settings dialog, the About box and the DLL's resources
#   plugin/    the module entries, the life cycle of a run, rendering, HALOSEQ coordination
set(GLOWMETER_LAYERS sdk support client settings gpu dialog plugin)
set(GLOWMETER_BUILDS_ON_sdk "")
set(GLOWMETER_BUILDS_ON_support "")
set(GLOWMETER_BUILDS_ON_client support)
set(GLOWMETER_BUILDS_ON_settings support sdk)
set(GLOWMETER_BUILDS_ON_gpu settings support)
set(GLOWMETER_BUILDS_ON_dialog gpu settings support)
set(GLOWMETER_BUILDS_ON_plugin dialog gpu client settings support sdk)

# glowmeter_layer_globs(<out> <root> <folder>...): the patterns of the files whose includes are
# checked, for the folders below the source folder <root>: each folder's own headers, sources
# and resource scripts, not those of a folder inside it.
function(glowmeter_layer_globs out root)
  set(patterns "")
  foreach(folder IN LISTS ARGN)
    list(APPEND patterns ${root}/${folder}/*.h ${root}/${folder}/*.cpp ${root}/${folder}/*.rc)
  endforeach()
  set(${out} ${patterns} PARENT_SCOPE)
endfunction()
