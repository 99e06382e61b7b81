set(RUNTIME_TEXT_SOURCES
  text/legacy_bytes.cpp
  text/legacy_text.cpp
  text/rtf_keywords.cpp
  text/rtf_reader.cpp
  text/rtf_writer.cpp
  text/text_measure.cpp
)
