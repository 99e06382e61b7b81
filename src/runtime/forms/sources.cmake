set(RUNTIME_FORM_SOURCES
  forms/form.cpp
  forms/form_focus.cpp
  forms/form_placement.cpp
  forms/form_window.cpp
  forms/mdi_parent.cpp
  forms/program.cpp
)
