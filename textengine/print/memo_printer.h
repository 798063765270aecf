// Prints an editor view: a hidden copy of the view, set up for paper (white, black or in
// colour, optionally numbered and wrapped), is painted page by page into a picture at screen
// scale, and each picture is stretched onto a printer page under an optional header with the
// print name and "Page n/m". With poShowProgress a "Printing Status" window follows the pages
// and lets the user cancel after the current one.
//
// The buffer is locked against update notifications for the run, and unlocked however the run
// ends. The copy holds its own text, so memory grows with the text once, not with the pages.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "textengine/print/print_options.h"

class QPrinter;

namespace tarnwick {

class TCustomDCMemo;
class TMemoPrintProgress;

// The printer refused the job or a page; the message names the printer or the file.
class EPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TPrintSettings {
    TDCPrintOptions Options{poShowProgress};
    int32_t PrintIndentPx = 0;  // screen pixels before the text, when the view has no left indent
    std::string DocumentName;   // the header's left part; "<Unknown>" when empty
};

struct TPrintReport {
    int32_t Rows = 0;  // display rows of the printout (wrapped rows under poWrapLines)
    int32_t LinesPerPage = 0;
    int32_t PageCount = 0;
    int32_t PagesPrinted = 0;
    bool Stopped = false;  // cancelled, or the view went away, before the last page
};

class TMemoPrinter {
public:
    // Called after each page; the progress window is null without poShowProgress.
    std::function<void(int32_t pagesPrinted, TMemoPrintProgress* progress)> OnPagePrinted;

    // Prints nothing, and shows no window, for a view without lines. Throws EPrintError.
    TPrintReport Print(TCustomDCMemo& view, const TPrintSettings& settings, QPrinter& printer);

    // The print name of the header and the progress window.
    static std::string PrintName(const TPrintSettings& settings);
};

}  // namespace tarnwick
