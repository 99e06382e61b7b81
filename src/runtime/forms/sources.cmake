set(RUNTIME_FORM_SOURCES
  forms/form.cpp
  forms/mdi_parent.cpp
  forms/program.cpp
)
