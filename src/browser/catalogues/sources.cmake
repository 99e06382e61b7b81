set(VELUMIR_CATALOGUE_SOURCES
  browser/catalogues/new_testament.cpp
)
