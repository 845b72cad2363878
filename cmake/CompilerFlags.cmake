# Every compiler-specific flag of the project lives here.
add_library(netvane_flags INTERFACE)
target_compile_features(netvane_flags INTERFACE cxx_std_20)
target_include_directories(netvane_flags INTERFACE ${PROJECT_SOURCE_DIR})

if(MSVC)
  # Sources are UTF-8; narrow literals go out in code page 936 (GBK).
  target_compile_options(netvane_flags INTERFACE /utf-8 /execution-charset:.936 /W4 /permissive-)
  target_compile_definitions(netvane_flags INTERFACE _CRT_SECURE_NO_WARNINGS NOMINMAX)
else()
  target_compile_options(netvane_flags INTERFACE
    -finput-charset=UTF-8 -fexec-charset=GBK -Wall -Wextra -Wno-unused-parameter)
endif()

if(WIN32)
  # The oldest Windows each build loads on: XP SP3 (5.1) for the 32-bit one, XP x64 and
  # Server 2003 (5.2) for the 64-bit one. Later functions are looked up at run time.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(NETVANE_WINDOWS_MINOR 2)
  else()
    set(NETVANE_WINDOWS_MINOR 1)
  endif()
  # Test binaries run under Wine only: their NETVANE_WINDOWS_VERSION property may ask for more.
  set(version "$<TARGET_PROPERTY:NETVANE_WINDOWS_VERSION>")
  set(version "$<IF:$<BOOL:${version}>,${version},0x050${NETVANE_WINDOWS_MINOR}>")
  target_compile_definitions(netvane_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=${version} WINVER=${version})
  if(MINGW)
    # One self-contained executable: no libgcc, libstdc++ or winpthread DLL beside it.
    target_link_options(netvane_flags INTERFACE -static -static-libgcc -static-libstdc++
      $<$<CONFIG:Release>:-s>
      -Wl,--major-subsystem-version,5,--minor-subsystem-version,${NETVANE_WINDOWS_MINOR}
      -Wl,--major-os-version,5,--minor-os-version,${NETVANE_WINDOWS_MINOR})
  endif()
endif()
