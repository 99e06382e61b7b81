set(RUNTIME_DATA_SOURCES
  data/variant.cpp
)
