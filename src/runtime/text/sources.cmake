set(RUNTIME_TEXT_SOURCES
  text/legacy_text.cpp
)
