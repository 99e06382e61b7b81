set(VELUMIR_DOCUMENT_SOURCES
  documents/document_commands.cpp
  documents/editing_toolbar.cpp
  documents/format_commands.cpp
)
