set(RUNTIME_SYSTEM_SOURCES
  system/drive.cpp
)
