# Files of the reports started from the loan list: late payments and the past-due letter,
# payments received. The pages and rules are logic; the two windows are kb_ui.
target_sources(kb_logic PRIVATE
  late_payments.cpp late_payments.h
  late_statement.cpp late_statement.h
  payments_received.cpp payments_received.h)
target_sources(kb_ui PRIVATE
  frmLatePmt.cpp frmLatePmt.h
  frmRptCnd.cpp frmRptCnd.h)
