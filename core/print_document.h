// What the results of the printer's document calls mean (no device): a refused
// StartDoc, and a page that EndPage did not take.
#pragma once
#include <stdint.h>

enum {
    PRINT_ERROR_CANCELLED = 1223,  // the platform's ERROR_CANCELLED
    PRINT_SP_APPABORT = -2,        // EndPage: the abort procedure returned FALSE
    PRINT_SP_USERABORT = -3,       // EndPage: the user deleted the job in the spooler
};

enum PrintStart {
    PRINT_START_OK,
    PRINT_START_CANCELLED,  // the user cancelled (a "Save Print Output As" prompt): nothing to say
    PRINT_START_FAILED,     // "Cannot start the print job!"
};

// What a StartDoc result means, with the thread's last error taken right after it.
PrintStart print_start_outcome(int start_doc_result, uint32_t last_error);

enum PageEnd {
    PAGE_END_OK,         // go on with EndDoc
    PAGE_END_CANCELLED,  // AbortDoc, nothing to say
    PAGE_END_FAILED,     // AbortDoc, "Cannot print the page!"
};

// What EndPage's result means; cancelled says whether the user pressed Cancel
// while the page was drawn or spooled. A page that failed is ended with AbortDoc,
// never EndDoc, so that no partial page is spooled.
PageEnd page_end_outcome(int end_page_result, int cancelled);
