#pragma once
// Printing a text view: with the print-options dialog, or at once with the view's print options
// on the current printer. The print name in the header is the title, the date and the time.

#include <string>

#include "textengine/print/memo_printer.h"

namespace tarnwick {

class TPrinterSetup;
class TTextView;

struct TPrintChoice {
    bool confirmed = false;  // OK or Print: the view's preferences hold the edited settings
    bool printNow = false;   // Print
};

// Shows the dialog on the view's preferences and applies them to the view when it is
// confirmed; prints nothing. Without any printer, says so and answers not confirmed.
TPrintChoice ChoosePrintOptions(TTextView& view, const std::string& title, TPrinterSetup& printers);

// Prints the view (its selection under poPrintSel, when it has one) on the current printer;
// the PDF printer asks where the file goes. Throws EPrintError when the printer fails. The
// report is empty when nothing was printed.
TPrintReport PrintTextNow(TTextView& view, const std::string& title, TPrinterSetup& printers);

}  // namespace tarnwick
