# The hardening flags Debian builds its own packages with (what
# `dpkg-buildflags` gives with hardening=+all): fortified C library calls,
# stack protection, format-string checks, a read-only relocation table
# resolved at start, and position-independent executables.
#
# A build with sanitizers (VELUMIR_SANITIZE, or -fsanitize in the compiler or
# linker flags given) or the fuzz targets goes without them: the sanitizers bring their own
# checks, and fortified calls would hide faults from AddressSanitizer.
# -DVELUMIR_HARDENING=OFF turns them off by hand.
option(VELUMIR_HARDENING "Build with Debian's hardening flags" ON)

string(TOUPPER "${CMAKE_BUILD_TYPE}" build_type)
set(given_flags "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${build_type}} ${CMAKE_EXE_LINKER_FLAGS}")
if(VELUMIR_HARDENING AND NOT VELUMIR_FUZZ AND NOT VELUMIR_SANITIZE AND NOT given_flags MATCHES "-fsanitize")
  # _FORTIFY_SOURCE needs optimisation; a Debug build (-O0) goes without it.
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>
                      -fstack-protector-strong -Wformat -Werror=format-security)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
