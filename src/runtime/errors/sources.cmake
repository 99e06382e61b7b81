set(RUNTIME_ERROR_SOURCES
  errors/runtime_error.cpp
  errors/error_report.cpp
)
