# Files of the help viewer: the RTF reader, frmHelp and the help-text printing seam.
target_sources(kb_logic PRIVATE help_target.cpp help_target.h)
target_sources(kb_ui PRIVATE
  frmHelp.cpp frmHelp.h help_printing.cpp help_printing.h help_text.cpp help_text.h rtf_reader.cpp rtf_reader.h)
