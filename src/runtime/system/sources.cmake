set(RUNTIME_SYSTEM_SOURCES
  system/dialogs.cpp
  system/drive.cpp
  system/load_picture.cpp
  system/printer.cpp
  system/send_keys.cpp
  system/settings.cpp
)
