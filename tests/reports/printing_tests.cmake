# Tests of the printed reports.
kb_logic_test(reports_test reports/page_lines_test.cpp reports/print_flow_test.cpp reports/loan_history_test.cpp
              reports/payment_receipt_test.cpp)
kb_window_test(printing_window_test reports/qt_printing_test.cpp)
