set(VELUMIR_SHELL_SOURCES
  shell/frm_log_on.cpp
  shell/frm_main.cpp
  shell/about_box.cpp
  shell/help_commands.cpp
  shell/letter_window.cpp
  shell/window_commands.cpp
)
