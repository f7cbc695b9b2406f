# Tests of the help viewer, the RTF reader and the setup screen.
kb_window_test(help_window_test help/rtf_reader_test.cpp help/frmHelp_test.cpp setup/KBSetup_test.cpp)
target_compile_definitions(help_window_test PRIVATE KB_HELP_FILE="${PROJECT_SOURCE_DIR}/data/KB_HLP.RTF")
