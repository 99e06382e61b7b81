set(VELUMIR_CATALOGUE_SOURCES
  browser/catalogues/new_testament.cpp
  browser/catalogues/genesis_to_1_kings.cpp
  browser/catalogues/proverbs_to_malachi.cpp
  browser/catalogues/kings2_to_psalms.cpp
)
