set(VELUMIR_REFERENCE_SOURCES
  reference/lookup_window.cpp
  reference/pictures_window.cpp
)
