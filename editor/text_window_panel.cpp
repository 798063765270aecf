// What the window carries out for its search panel when the host passes the panel's requests
// on: filling the found list from the panel's search and jumping to a found line.
#include <QListWidget>
#include <algorithm>

#include "editor/text_panel.h"
#include "editor/text_view.h"
#include "editor/text_window.h"
#include "editor/uniform_list_view.h"
#include "editor/wait_cursor.h"
#include "languages/text_source.h"

namespace tarnwick {

// A bad pattern throws before anything is listed; whatever was listed before a later failure
// stays, and the list is enabled again either way.
void TTextWindow::UpdateFoundInstanceList() {
    if (!Panel)
        return;
    const TWaitCursor wait;
    const TTextPanel::TSearch search = Panel->FoundListSearch();
    TTextPanel::TFoundListUpdate update(*Panel);
    TTextSource& source = TextSource();
    for (int32_t line = source.FindFirstLine(search.Text, search.CaseSensitive, search.WholeWordsOnly,
                                             search.RegularExpr);
         line > 0; line = source.FindNextLine())
        update.Add(line);
}

void TTextWindow::RefreshSearchPanel() {
    if (Panel)
        Panel->lbSearchHistoryList->setEnabled(true);
    UpdateFoundInstanceList();
}

void TTextWindow::JumpToLineFromPanel() {
    if (!Panel)
        return;
    const std::optional<int32_t> line = Panel->SelectedFoundLine();
    if (!line)
        return;
    // An entry the text has since outgrown goes to the last line, not past the end of the text.
    TTextSource& source = TextSource();
    source.SetCaret(0, std::clamp(*line - 1, 0, std::max(source.LineCount() - 1, 0)));
    source.SelectLine();
    View().repaint();
    Panel->lbFoundInstanceList->setFocus();
}

}  // namespace tarnwick
