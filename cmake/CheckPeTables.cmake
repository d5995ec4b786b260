# Checks the export and import tables of the plug-in DLL with objdump.
#   cmake -DPE_FILE=vis_glowmeter.dll -DOBJDUMP=x86_64-w64-mingw32-objdump -P CheckPeTables.cmake
if(NOT OBJDUMP)
  message(STATUS "No objdump for this toolchain: export and import tables not checked")
  return()
endif()
execute_process(COMMAND ${OBJDUMP} -p ${PE_FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${PE_FILE}")
endif()

# Undecorated exports that callers look up by name.
set(required_exports winampVisGetHeader
  WS32LIB_LoadDLL WS32LIB_UnloadDLL WS32LIB_IsLoadDLL WS32LIB_GetLoadCount WS32LIB_GetDLLHandle)
foreach(name IN LISTS required_exports)
  if(NOT dump MATCHES "\\][ \t]+${name}\n")
    message(FATAL_ERROR "${PE_FILE}: export '${name}' missing or decorated")
  endif()
endforeach()

# The exported classes of the support library, with their members. Their names are
# decorated by the compiler: GCC writes e.g. _ZN4CSTR6AppendEPKc, MSVC ?Append@CSTR@@...
set(required_members CSTR:CSTR CSTR:Append CSTR:Insert CSTR:Trim CSTR:Compare CSTR:Convert
  CSTR:RegisterErrorTrap INIFILE:INIFILE INIFILE:Open INIFILE:OpenLocal INIFILE:Close
  INIFILE:Create INIFILE:Read INIFILE:Write)
foreach(entry IN LISTS required_members)
  string(REPLACE ":" ";" parts "${entry}")
  list(GET parts 0 class)
  list(GET parts 1 member)
  string(LENGTH "${class}" class_length)
  string(LENGTH "${member}" member_length)
  if(member STREQUAL class)
    # Constructors: GCC's C1/C2, MSVC's ??0
    set(gcc_form "${class_length}${class}C[12]E")
    set(msvc_form "\\?\\?0${class}@@")
  else()
    set(gcc_form "${class_length}${class}${member_length}${member}E")
    set(msvc_form "\\?${member}@${class}@@")
  endif()
  if(NOT dump MATCHES "${gcc_form}" AND NOT dump MATCHES "${msvc_form}")
    message(FATAL_ERROR "${PE_FILE}: export of ${class}::${member} missing")
  endif()
endforeach()

# Only libraries that every Windows has; WinSock in particular is loaded at run time. GDI32
# measures the device list's names in its font (the settings dialog).
set(allowed_imports KERNEL32.dll USER32.dll GDI32.dll VERSION.dll ADVAPI32.dll msvcrt.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOUPPER "${dll}" upper)
  set(ok FALSE)
  foreach(allowed IN LISTS allowed_imports)
    string(TOUPPER "${allowed}" allowed_upper)
    if(upper STREQUAL allowed_upper)
      set(ok TRUE)
    endif()
  endforeach()
  if(NOT ok)
    message(FATAL_ERROR "${PE_FILE}: imports ${dll}, which is not allowed")
  endif()
endforeach()
