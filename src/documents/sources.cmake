set(VELUMIR_DOCUMENT_SOURCES
  documents/document_commands.cpp
  documents/document_window.cpp
  documents/editing_toolbar.cpp
  documents/format_commands.cpp
)
