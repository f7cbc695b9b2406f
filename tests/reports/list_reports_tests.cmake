# Tests of the reports started from the loan list.
kb_logic_test(list_reports_test reports/late_payments_test.cpp reports/late_statement_test.cpp
              reports/payments_received_test.cpp)
kb_window_test(list_reports_window_test reports/frmRptCnd_test.cpp reports/frmLatePmt_test.cpp)
