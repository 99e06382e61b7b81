set(VELUMIR_SHELL_SOURCES
  shell/frm_log_on.cpp
  shell/frm_main.cpp
  shell/help_commands.cpp
  shell/window_commands.cpp
)
