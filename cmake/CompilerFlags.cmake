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
  target_compile_definitions(netvane_flags INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(MINGW)
    # One self-contained executable: no libgcc, libstdc++ or winpthread DLL beside it.
    target_link_options(netvane_flags INTERFACE -static -static-libgcc -static-libstdc++
      $<$<CONFIG:Release>:-s>)
  endif()
endif()
