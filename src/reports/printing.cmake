# Files of the printed reports: kb_logic for pages as text, kb_ui for the Qt side.
target_sources(kb_logic PRIVATE
  page_lines.cpp page_lines.h
  print_flow.cpp print_flow.h
  loan_page_parts.cpp loan_page_parts.h
  loan_history.cpp loan_history.h
  payment_receipt.cpp payment_receipt.h)
