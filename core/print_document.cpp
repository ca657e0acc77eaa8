#include "core/print_document.h"

PrintStart print_start_outcome(int start_doc_result, uint32_t last_error) {
    if (start_doc_result > 0) {
        return PRINT_START_OK;
    }
    return last_error == PRINT_ERROR_CANCELLED ? PRINT_START_CANCELLED : PRINT_START_FAILED;
}

PageEnd page_end_outcome(int end_page_result, int cancelled) {
    if (cancelled || end_page_result == PRINT_SP_APPABORT || end_page_result == PRINT_SP_USERABORT) {
        return PAGE_END_CANCELLED;
    }
    return end_page_result > 0 ? PAGE_END_OK : PAGE_END_FAILED;
}
